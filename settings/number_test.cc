#include "settings/number.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

// What the option handlers and the constraint file expect: strtol with base
// 10, the result clamped to the int32 range.
int32_t reference(const std::string& text) {
  long value = std::strtol(text.c_str(), nullptr, 10);
  if (value > std::numeric_limits<int32_t>::max()) {
    return std::numeric_limits<int32_t>::max();
  }
  if (value < std::numeric_limits<int32_t>::min()) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(value);
}

TEST(ToInt32, KnownValues) {
  const std::vector<std::pair<std::string, int32_t>> rows = {
      {"0", 0},
      {"42", 42},
      {"  \t\n\v\f\r-17x", -17},
      {"+8", 8},
      {"- 8", 0},
      {"+-8", 0},
      {"", 0},
      {"abc", 0},
      {"2147483647", 2147483647},
      {"2147483648", 2147483647},
      {"-2147483648", -2147483648},
      {"-2147483649", -2147483648},
      {"99999999999999999999999999", 2147483647},
      {"-99999999999999999999999999", -2147483648},
      {"000000000000000000000000012", 12},
  };
  for (const auto& [text, want] : rows) {
    EXPECT_EQ(toInt32(text), want) << "'" << text << "'";
  }
}

// A view without a terminating zero is read only up to its end.
TEST(ToInt32, ReadsOnlyTheView) {
  const std::string text = "12345";
  EXPECT_EQ(toInt32(std::string_view(text).substr(0, 2)), 12);
}

// Differential: generated texts of blanks, signs, digits, junk and huge
// digit runs read the same as through strtol.
TEST(ToInt32, AgreesWithStrtolOnGeneratedTexts) {
  std::mt19937 random(20240611);  // fixed seed: the same texts on every run
  const std::string blanks = " \t\n\v\f\r";
  const std::string signs = "+-";
  const std::string junk = "xX.e,:d_ aZ\x7f\x80\xff";
  auto pick = [&](const std::string& from) {
    return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(random)];
  };
  auto upTo = [&](int most) { return std::uniform_int_distribution<int>(0, most)(random); };
  for (int round = 0; round < 5000; ++round) {
    std::string text;
    for (int n = upTo(3); n > 0; --n) {
      text += pick(blanks);
    }
    for (int n = upTo(2); n > 0; --n) {
      text += pick(signs);
    }
    // Mostly short numbers, sometimes long ones well past the int32 range.
    const int digits = upTo(4) == 0 ? upTo(30) : upTo(10);
    for (int n = 0; n < digits; ++n) {
      text += static_cast<char>('0' + upTo(9));
    }
    for (int n = upTo(3); n > 0; --n) {
      text += upTo(1) == 0 ? pick(junk) : static_cast<char>('0' + upTo(9));
    }
    EXPECT_EQ(toInt32(text), reference(text)) << "'" << text << "'";
  }
}

// Values near the limits, where saturation starts.
TEST(ToInt32, AgreesWithStrtolAroundTheLimits) {
  for (long long edge : {2147483647LL, 2147483648LL, -2147483648LL, -2147483649LL, 21474836470LL}) {
    for (long long delta = -3; delta <= 3; ++delta) {
      const std::string text = std::to_string(edge + delta);
      EXPECT_EQ(toInt32(text), reference(text)) << text;
    }
  }
}

}  // namespace
