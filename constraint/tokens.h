// Tokens of constraint-file lines: the cursor and nextToken (shared with the
// command line), and the split the reader and the module directive use.
#pragma once

#include <span>
#include <string_view>

#include "settings/tokens.h"

/// Splits in the shape the keyword handlers use, with max = slots.size() (2 or
/// more): slot 0 takes the first token (none: returns 0); with max 2, slot 1
/// takes the rest after it and 2 is returned; otherwise slots 1..max-2 take
/// further tokens (a missing one returns the count stored so far) and the
/// last slot takes the rest after the last token, and max is returned. A rest
/// starts right after the one separator that ended the token before it; an
/// empty slot means "nothing". Every slot is cleared first.
int splitTokens(std::span<std::string_view> slots, std::string_view text, std::string_view separators);

/// True when every character is a decimal digit, '-' or '.' (so also for "").
bool isNumberText(std::string_view text);
