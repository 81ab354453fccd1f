#include "settings/number.h"

#include <limits>

int32_t toInt32(std::string_view text) {
  size_t pos = 0;
  // isspace in the C locale: blank, \t, \n, \v, \f, \r.
  while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r'))) {
    ++pos;
  }
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  constexpr int64_t kHigh = std::numeric_limits<int32_t>::max();
  constexpr int64_t kLow = std::numeric_limits<int32_t>::min();
  int64_t value = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    if (value <= -kLow) {  // past both limits already: only keep saturating
      value = value * 10 + (text[pos] - '0');
    }
  }
  if (negative) {
    value = -value;
    return static_cast<int32_t>(value < kLow ? kLow : value);
  }
  return static_cast<int32_t>(value > kHigh ? kHigh : value);
}
