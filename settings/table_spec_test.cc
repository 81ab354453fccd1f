#include "settings/table_spec.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "settings/run_settings.h"

namespace {

struct TableCase {
  std::string text;
  bool withAngle;
  TableSetting want;  // from kEarlier; unchanged means rejected
};

// Every case starts from values an earlier option left, so that what a text
// must keep is seen as well as what it sets.
constexpr TableSetting kEarlier{0, 512, 24, 180};

TEST(TableSpec, KeywordsNumbersAndRejectedTexts) {
  const std::vector<TableCase> cases = {
      {"256:16:90", true, {2, 256, 16, 90}},
      {" 0256 : 016 :090x", true, {2, 256, 16, 90}},
      {"4096:32:45", false, {2, 4096, 32, 180}},  // the angle is not read
      {"64:8x", false, {2, 64, 8, 180}},
      {"off", true, {1, 512, 24, 180}},
      {"on", false, {2, 512, 24, 180}},
      {"256:16", true, kEarlier},
      {"100:16:90", true, kEarlier},
      {"256:12:90", true, kEarlier},
      {"256:16:45", true, kEarlier},
      {"OFF", false, kEarlier},
      {"on ", false, kEarlier},
      {"", false, kEarlier},
      {":::", false, kEarlier},
  };
  for (const TableCase& c : cases) {
    TableSetting got = kEarlier;
    int result = parseTableSpec(c.text, got.mode, got.size, got.bits, c.withAngle ? &got.angle : nullptr);
    EXPECT_EQ(result, c.want == kEarlier ? -1 : 0) << "'" << c.text << "'";
    EXPECT_EQ(got, c.want) << "'" << c.text << "'";
  }
}

std::set<int32_t> accepted(int (*check)(int32_t)) {
  std::set<int32_t> values;
  for (int32_t value = -1; value <= 8200; ++value) {
    if (check(value) == 0) {
      values.insert(value);
    }
  }
  return values;
}

TEST(TableSpec, ClosedListsOfSizesBitsAndAngles) {
  EXPECT_EQ(accepted(isTableSize), (std::set<int32_t>{64, 128, 256, 512, 1024, 2048, 4096}));
  EXPECT_EQ(accepted(isTableBits), (std::set<int32_t>{8, 16, 24, 32}));
  EXPECT_EQ(accepted(isTableAngle), (std::set<int32_t>{90, 180, 360}));
}

}  // namespace
