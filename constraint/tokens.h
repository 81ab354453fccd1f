// Tokens of constraint-file lines, taken as the standard tokeniser takes them
// but without hidden state: the position lives in a cursor the caller owns.
#pragma once

#include <span>
#include <string_view>

/// A tokenisation in progress: the part of the text not taken yet.
struct TokenCursor {
  std::string_view rest;
};

/// Takes the next token: leading separators are skipped, the token ends at
/// the next separator, and that one separator is consumed with it. Returns an
/// empty view (and leaves nothing in the cursor) when no token is left.
std::string_view nextToken(TokenCursor& cursor, std::string_view separators);

/// Takes everything left, separators included; empty when nothing is left.
std::string_view takeRest(TokenCursor& cursor);

/// Splits in the shape the keyword handlers use, with max = slots.size() (2 or
/// more): slot 0 takes the first token (none: returns 0); with max 2, slot 1
/// takes the rest after it and 2 is returned; otherwise slots 1..max-2 take
/// further tokens (a missing one returns the count stored so far) and the
/// last slot takes the rest after the last token, and max is returned. A rest
/// starts right after the one separator that ended the token before it; an
/// empty slot means "nothing". Every slot is cleared first.
int splitTokens(std::span<std::string_view> slots, TokenCursor& cursor, std::string_view separators);
int splitTokens(std::span<std::string_view> slots, std::string_view text, std::string_view separators);

/// True when every character is a decimal digit, '-' or '.' (so also for "").
bool isNumberText(std::string_view text);
