#include "settings/number.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

namespace {

// What the option handlers and the constraint file expect: strtol with base
// 10, the result clamped to the int32 range.
int32_t reference(const std::string& text) {
  long value = std::strtol(text.c_str(), nullptr, 10);
  value = std::max<long>(value, std::numeric_limits<int32_t>::min());
  return static_cast<int32_t>(std::min<long>(value, std::numeric_limits<int32_t>::max()));
}

void expectAgrees(const std::string& text) { EXPECT_EQ(toInt32(text), reference(text)) << "'" << text << "'"; }

// Differential: generated texts of blanks, signs, digits, junk and digit runs
// well past the int32 range read the same as through strtol.
TEST(ToInt32, AgreesWithStrtol) {
  for (const char* text : {"", "abc", "- 8", "+ 8", "-", "0x1F"}) {
    expectAgrees(text);
  }
  for (long long edge : {2147483647LL, -2147483648LL, 21474836470LL, -21474836480LL}) {
    for (long long delta = -3; delta <= 3; ++delta) {
      expectAgrees(std::to_string(edge + delta));
    }
  }
  std::mt19937 random(20240611);  // fixed seed: the same texts on every run
  auto upTo = [&](int most) { return std::uniform_int_distribution<int>(0, most)(random); };
  auto pick = [&](const std::string& from) {
    return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(random)];
  };
  const std::string junk = "xX.e,:d_ aZ\x7f\x80\xff";
  for (int round = 0; round < 5000; ++round) {
    std::string text;
    for (int n = upTo(3); n > 0; --n) {
      text += pick(" \t\n\v\f\r");
    }
    for (int n = upTo(2); n > 0; --n) {
      text += pick("+-");
    }
    for (int n = upTo(4) == 0 ? upTo(30) : upTo(10); n > 0; --n) {
      text += static_cast<char>('0' + upTo(9));
    }
    for (int n = upTo(3); n > 0; --n) {
      text += upTo(1) == 0 ? pick(junk) : static_cast<char>('0' + upTo(9));
    }
    expectAgrees(text);
  }
}

// A view without a terminating zero is read only up to its end.
TEST(ToInt32, ReadsOnlyTheView) { EXPECT_EQ(toInt32(std::string_view("12345").substr(0, 2)), 12); }

}  // namespace
