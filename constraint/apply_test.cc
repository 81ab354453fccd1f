// Applying the option section: one step of each kind for the fixed order of
// the echo lines, compared as whole settings, and the quirks of the echo.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "constraint/read_testing.h"
#include "settings/command_line.h"
#include "settings/option_table.h"

// The expected settings name only what differs from the defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

// The settings and the echo of applying the option lines to `rs`.
std::pair<RunSettings, std::string> apply(const std::string& lines, RunSettings rs = {}) {
  ConstraintStore store;
  EXPECT_EQ(readPrinting(store, "$def_start_option\n" + lines + "\n"), "");
  testing::internal::CaptureStdout();
  applyConstraintOptions(store, rs);
  return {rs, testing::internal::GetCapturedStdout()};
}

// A "-maxt" without the suffix; a code without a keyword is not echoed, one
// with the second keyword of its list is ("-bx_mode2" writes what "-ex_mode2" wrote).
TEST(ApplyConstraintOptions, AMaxtWithoutSuffixAndCodesWithAndWithoutKeyword) {
  const auto [rs, echo] = apply("-maxt 20\n-ex_mode2\n-bx_mode2");
  EXPECT_EQ(echo, "-maxt 20\n-bx_mode2\n");
  EXPECT_TRUE(rs == (RunSettings{.maxt = 20, .maxtGiven = 1, .ex_mode = 3}));
}

// One step of each kind, given in the reverse of the steps' order: the echo
// follows the steps. An "off" table echoes the size and bits the table then
// has, zeros by default; the "-bx_bits" text keeps the line end of its line,
// so an empty line follows its echo.
TEST(ApplyConstraintOptions, OneStepOfEachKindInTheFixedOrder) {
  const auto [rs, echo] = apply(
      "-bx_bits 1,2\n-n_atan2tbl off\n-n_costbl 512:8:90\n-ip I\n-D A B\n-fdp n\n-mul_dword\n-p pp\n-maxt 9d\n"
      "-max 8\n",
      {.fdp = 1});
  EXPECT_EQ(echo,
            "-max 8\n-maxt xxd\n-maxt 9d\n-p pp\n-mul_dword\n-fdp n\n-D A\n-D B\n-n_costbl 512:8:90\n"
            "-n_atan2tbl 0:0\n-ip I\n-bax_bits 1,2\n\n");
  const RunSettings expected{.D = {"A", "B"}, .ip = {"I"}, .max = 8, .maxt = 9, .maxtSuffix = 'd', .maxtGiven = 1,
                             .mul_func = 2, .n_costbl = {2, 512, 8, 90}, .n_atan2tbl = {1, 0, 0, 0},
                             .bx_bits = "1,2\n", .p = "pp"};
  EXPECT_TRUE(rs == expected);
}

// The constraint file takes many of the options through a table of its own:
// each option line it accepts must set what the option sets on the command
// line, so a wrong value or setting in either table shows.
TEST(CommandLineTable, AgreesWithTheConstraintFile) {
  int compared = 0;
  for (const OptionRow& row : commandLineOptions()) {
    std::vector<std::string> values;  // none for the hand-written options: "-max" in a file leaves maxt alone
    if (const auto* keyword = std::get_if<Keyword>(&row.value)) {
      for (const KeywordCode& code : keyword->codes) {
        values.emplace_back(code.keyword);
      }
    } else if (std::holds_alternative<Table>(row.value)) {
      values = {"256:16:90"};
    } else if (std::holds_alternative<Flag>(row.value)) {
      values = {""};
    } else if (!std::holds_alternative<Special>(row.value)) {
      values = {"8", "0"};  // a number, a text or a path; 0 lies outside some ranges
    }
    for (const std::string& value : values) {
      std::vector<std::string> args = {"talvo_s", std::string(row.name), value};
      args.resize(value.empty() ? 2 : 3);
      ConstraintStore store;
      RunSettings fromFile;
      RunSettings fromCommandLine;
      testing::internal::CaptureStdout();
      const int status = readConstraintText(store, "$def_start_option\n" + args[1] + " " + value + "\n", "a.ctf");
      applyConstraintOptions(store, fromFile);
      parseCommandLine(fromCommandLine, args);
      testing::internal::GetCapturedStdout();
      compared += status == 0 ? 1 : 0;
      EXPECT_TRUE(status != 0 || fromFile == fromCommandLine) << args[1] << " " << value;
    }
  }
  EXPECT_GE(compared, 90);  // of the 136 lines tried; fewer means a kind of row went unchecked
}

}  // namespace
