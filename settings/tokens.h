// Tokens taken as the standard tokeniser takes them, but without hidden
// state: the position lives in a cursor the caller owns. Shared by the table
// values, the "-bx_bits" list and the constraint-file handlers.
#pragma once

#include <string_view>

/// A tokenisation in progress: the part of the text not taken yet.
struct TokenCursor {
  std::string_view rest;
};

/// Takes the next token: leading separators are skipped, the token ends at
/// the next separator, and that one separator is consumed with it. Returns an
/// empty view (and leaves nothing in the cursor) when no token is left.
std::string_view nextToken(TokenCursor& cursor, std::string_view separators);
