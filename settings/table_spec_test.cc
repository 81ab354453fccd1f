#include "settings/table_spec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/run_settings.h"

namespace {

struct TableCase {
  const char* text;
  bool withAngle;
  int result;
  TableSetting want;  // what a setting that starts all zero holds afterwards
};

void expectCases(const std::vector<TableCase>& cases) {
  for (const TableCase& c : cases) {
    TableSetting got;
    int result = parseTableSpec(c.text, got.mode, got.size, got.bits, c.withAngle ? &got.angle : nullptr);
    const std::string shown = std::string("'") + (c.text != nullptr ? c.text : "(null)") + "'" +
                              (c.withAngle ? " with angle" : " without angle");
    EXPECT_EQ(result, c.result) << shown;
    EXPECT_EQ(got.mode, c.want.mode) << shown;
    EXPECT_EQ(got.size, c.want.size) << shown;
    EXPECT_EQ(got.bits, c.want.bits) << shown;
    EXPECT_EQ(got.angle, c.want.angle) << shown;
  }
}

constexpr bool kAngle = true;
constexpr bool kNoAngle = false;
const TableSetting kUntouched{};

TEST(TableSpec, NumbersAndKeywords) {
  expectCases({
      {"256:16:90", kAngle, 0, {2, 256, 16, 90}},
      {"256:16", kAngle, -1, kUntouched},
      {"256:16", kNoAngle, 0, {2, 256, 16, 0}},
      {"256:16:90", kNoAngle, 0, {2, 256, 16, 0}},
      {" 256 : 16 : 90", kAngle, 0, {2, 256, 16, 90}},
      {"0256:016:090", kAngle, 0, {2, 256, 16, 90}},
      {"256x:16y", kNoAngle, 0, {2, 256, 16, 0}},
      {"64:8:90", kAngle, 0, {2, 64, 8, 90}},
      {"4096:32:360", kAngle, 0, {2, 4096, 32, 360}},
      {"128:24:180", kAngle, 0, {2, 128, 24, 180}},
      {"off", kAngle, 0, {1, 0, 0, 0}},
      {"on", kNoAngle, 0, {2, 0, 0, 0}},
      {"OFF", kNoAngle, -1, kUntouched},
      {"Off", kAngle, -1, kUntouched},
      {"on ", kNoAngle, -1, kUntouched},
      {"", kNoAngle, -1, kUntouched},
      {":::", kNoAngle, -1, kUntouched},
      {nullptr, kAngle, -1, kUntouched},
  });
}

TEST(TableSpec, ClosedListsOfSizesBitsAndAngles) {
  expectCases({
      {"32:16", kNoAngle, -1, kUntouched},
      {"100:16", kNoAngle, -1, kUntouched},
      {"8192:16", kNoAngle, -1, kUntouched},
      {"256:0", kNoAngle, -1, kUntouched},
      {"256:12", kNoAngle, -1, kUntouched},
      {"256:40", kNoAngle, -1, kUntouched},
      {"256:16:45", kAngle, -1, kUntouched},
      {"256:16:45", kNoAngle, 0, {2, 256, 16, 0}},
  });
}

// "on" and "off" keep the numbers; any failure keeps every field.
TEST(TableSpec, KeywordsAndFailuresKeepEarlierValues) {
  const TableSetting earlier{2, 512, 24, 180};
  for (const char* text :
       std::vector<const char*>{"on", "off", "256:16", "100:16:90", "256:12:90", "256:16:45", "on ", nullptr}) {
    TableSetting setting = earlier;
    int result = parseTableSpec(text, setting.mode, setting.size, setting.bits, &setting.angle);
    std::string shown = text != nullptr ? text : "(null)";
    EXPECT_EQ(setting.size, 512) << shown;
    EXPECT_EQ(setting.bits, 24) << shown;
    EXPECT_EQ(setting.angle, 180) << shown;
    if (result == 0) {
      EXPECT_EQ(setting.mode, std::string(text) == "off" ? 1 : 2) << shown;
    } else {
      EXPECT_EQ(setting.mode, 2) << shown;
    }
  }
  TableSetting off{1, 64, 8, 90};
  EXPECT_EQ(parseTableSpec("on", off.mode, off.size, off.bits, &off.angle), 0);
  EXPECT_EQ(off.mode, 2);
  EXPECT_EQ(off.size, 64);
}

TEST(TableSpec, TheCallersTextIsNotChanged) {
  char text[] = "256:16:90";
  TableSetting setting;
  EXPECT_EQ(parseTableSpec(text, setting.mode, setting.size, setting.bits, &setting.angle), 0);
  EXPECT_STREQ(text, "256:16:90");
}

TEST(TableSpec, ValueChecks) {
  for (int32_t size = -1; size <= 8200; ++size) {
    bool accepted =
        size == 64 || size == 128 || size == 256 || size == 512 || size == 1024 || size == 2048 || size == 4096;
    EXPECT_EQ(isTableSize(size), accepted ? 0 : -1) << size;
  }
  for (int32_t bits = -1; bits <= 70; ++bits) {
    EXPECT_EQ(isTableBits(bits), (bits == 8 || bits == 16 || bits == 24 || bits == 32) ? 0 : -1) << bits;
  }
  for (int32_t angle = -1; angle <= 400; ++angle) {
    EXPECT_EQ(isTableAngle(angle), (angle == 90 || angle == 180 || angle == 360) ? 0 : -1) << angle;
  }
}

}  // namespace
