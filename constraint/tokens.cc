#include "constraint/tokens.h"

#include <algorithm>

int splitTokens(std::span<std::string_view> slots, std::string_view text, std::string_view separators) {
  std::fill(slots.begin(), slots.end(), std::string_view{});
  TokenCursor cursor{text};
  const std::size_t max = slots.size();
  slots[0] = nextToken(cursor, separators);
  if (slots[0].empty()) {
    return 0;
  }
  for (std::size_t i = 1; i + 1 < max; ++i) {
    slots[i] = nextToken(cursor, separators);
    if (slots[i].empty()) {
      return static_cast<int>(i);
    }
  }
  slots[max - 1] = cursor.rest;
  return static_cast<int>(max);
}

bool isNumberText(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || c == '-' || c == '.'; });
}
