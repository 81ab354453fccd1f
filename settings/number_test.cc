#include "settings/number.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <random>
#include <string>

namespace {

// What the option handlers and the constraint file expect: strtol with base
// 10, the result clamped to the int32 range.
void expectAgrees(const std::string& text) {
  const long value = std::strtol(text.c_str(), nullptr, 10);
  EXPECT_EQ(toInt32(text), std::clamp<long>(value, INT32_MIN, INT32_MAX)) << "'" << text << "'";
}

// Differential: the int32 edges, and generated texts of blanks, signs (a
// blank after one), digit runs well past the int32 range and junk, read the
// same as through strtol.
TEST(ToInt32, AgreesWithStrtol) {
  for (long long edge : {0LL, 2147483647LL, -2147483648LL, 21474836470LL, -21474836480LL}) {
    for (long long delta = -3; delta <= 3; ++delta) {
      expectAgrees(std::to_string(edge + delta));
    }
  }
  std::mt19937 random(20240611);  // fixed seed: the same texts on every run
  auto upTo = [&](size_t most) { return std::uniform_int_distribution<size_t>(0, most)(random); };
  const std::pair<std::string, size_t> parts[] = {
      {" \t\n\v\f\r", 3}, {"+-", 2}, {" ", 1}, {"0123456789", 24}, {"0123456789xX.e,:d_ aZ\x7f\x80\xff", 3}};
  for (int round = 0; round < 5000; ++round) {
    std::string text;
    for (const auto& [from, most] : parts) {
      std::generate_n(std::back_inserter(text), upTo(most), [&] { return from[upTo(from.size() - 1)]; });
    }
    expectAgrees(text);
  }
}

// A view without a terminating zero is read only up to its end.
TEST(ToInt32, ReadsOnlyTheView) { EXPECT_EQ(toInt32(std::string_view("12345").substr(0, 2)), 12); }

}  // namespace
