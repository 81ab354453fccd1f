#include "settings/number.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

// What the option handlers and the constraint file expect: strtol with base
// 10, the result clamped to the int32 range. The texts: each blank strtol
// skips and the characters just outside them, signs, junk after digits, and
// the edges of the int32 range and far past them.
TEST(ToInt32, AgreesWithStrtol) {
  for (const std::string text :
       {"", "12ab", " \t\n\v\f\r+12", "\b1", "\0161", "- 5", "-0", "+-3", "2147483647", "2147483648", "-2147483648",
        "-2147483649", "000000000000002147483647", "99999999999999999999999", "-99999999999999999999999"}) {
    const long value = std::strtol(text.c_str(), nullptr, 10);
    EXPECT_EQ(toInt32(text), std::clamp<long>(value, INT32_MIN, INT32_MAX)) << "'" << text << "'";
  }
}

// A view without a terminating zero is read only up to its end.
TEST(ToInt32, ReadsOnlyTheView) { EXPECT_EQ(toInt32(std::string_view("12345").substr(0, 2)), 12); }

}  // namespace
