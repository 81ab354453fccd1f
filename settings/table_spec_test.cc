#include "settings/table_spec.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>
#include <utility>

#include "settings/run_settings.h"

namespace {

// Every text is read over values an earlier option left, so that what it
// must keep is seen as well as what it sets.
constexpr TableSetting kEarlier{0, 512, 24, 180};

std::pair<int, TableSetting> parsed(std::string_view text, bool withAngle) {
  TableSetting got = kEarlier;
  const int result = parseTableSpec(text, got.mode, got.size, got.bits, withAngle ? &got.angle : nullptr);
  return {result, got};
}

TEST(TableSpec, KeywordsNumbersAndRejectedTexts) {
  EXPECT_EQ(parsed(" 0256 : 016 :090x", true), std::pair(0, TableSetting{2, 256, 16, 90}));
  EXPECT_EQ(parsed("64:8x:45", false), std::pair(0, TableSetting{2, 64, 8, 180}));  // the angle is not read
  EXPECT_EQ(parsed("off", true), std::pair(0, TableSetting{1, 512, 24, 180}));
  EXPECT_EQ(parsed("on", false), std::pair(0, TableSetting{2, 512, 24, 180}));
  for (const char* text : {"256:16", "100:16:90", "256:12:90", "256:16:45", "OFF", "on ", ":::"}) {
    EXPECT_EQ(parsed(text, true), std::pair(-1, kEarlier)) << "'" << text << "'";
  }
}

TEST(TableSpec, ClosedListsOfSizesBitsAndAngles) {
  const std::pair<int (*)(int32_t), std::set<int32_t>> lists[] = {{isTableSize, {64, 128, 256, 512, 1024, 2048, 4096}},
                                                                  {isTableBits, {8, 16, 24, 32}},
                                                                  {isTableAngle, {90, 180, 360}}};
  for (const auto& [check, want] : lists) {
    std::set<int32_t> accepted;
    for (int32_t value = -1; value <= 8200; ++value) {
      if (check(value) == 0) {
        accepted.insert(value);
      }
    }
    EXPECT_EQ(accepted, want);
  }
}

}  // namespace
