#include "settings/table_spec.h"

#include <gtest/gtest.h>

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
  // Sizes are the powers of two from 64 to 4096; bits 8, 16, 24 or 32; angles 90, 180 or 360.
  EXPECT_EQ(parsed("4096:24:360", true), std::pair(0, TableSetting{2, 4096, 24, 360}));
  EXPECT_EQ(parsed("128:32:180", true), std::pair(0, TableSetting{2, 128, 32, 180}));
  for (const char* text :
       {"256:16", "100:16:90", "32:16:90", "8192:16:90", "256:12:90", "256:16:45", "OFF", "on ", ":::"}) {
    EXPECT_EQ(parsed(text, true), std::pair(-1, kEarlier)) << "'" << text << "'";
  }
}

}  // namespace
