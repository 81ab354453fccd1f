#include "settings/consistency.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/command_line.h"
#include "settings/settings_dump_testing.h"

namespace {

struct Rule {
  std::vector<std::string> args;
  std::string message;  // empty: consistent
};

std::string check(const std::vector<std::string>& options, int& result, RunSettings& rs) {
  std::vector<std::string> args = {"talvo_s"};
  args.insert(args.end(), options.begin(), options.end());
  parseCommandLine(rs, args);
  EXPECT_EQ(rs.errorCount, 0);
  testing::internal::CaptureStdout();
  result = checkOptionConsistency(rs);
  return testing::internal::GetCapturedStdout();
}

void expectRules(const std::vector<Rule>& rules) {
  for (const Rule& rule : rules) {
    std::string shown;
    for (const std::string& arg : rule.args) {
      shown += " " + arg;
    }
    RunSettings rs;
    int result = 0;
    std::string out = check(rule.args, result, rs);
    if (rule.message.empty()) {
      EXPECT_EQ(out, "") << shown;
      EXPECT_EQ(result, 0) << shown;
      EXPECT_EQ(rs.errorCount, 0) << shown;
    } else {
      EXPECT_EQ(out, "Error : " + rule.message + "\n") << shown;
      EXPECT_EQ(result, -1) << shown;
      EXPECT_EQ(rs.errorCount, 1) << shown;
    }
  }
}

// One case per rule, in rule order, with the options that make it hold.
TEST(Consistency, EveryRuleOfEveryTargetGroup) {
  expectRules({
      {{"-ansic", "-ex_mode"}, "-ex_mode option has not supported ANSI-C."},
      {{"-ansic", "-bx_mode"}, "-bx_mode option has not supported ANSI-C."},
      {{"-all_ansic", "-Ec"}, "-Ec option has not supported ANSI-C."},
      {{"-ansic", "-float"}, "-float option has not supported ANSI-C."},
      {{"-algoc", "-lite_mode"}, "-ex_mode option has not supported AlgorithmicC."},
      {{"-algoc", "-bx_mode", "-Ec"}, "Combined use of '-bx_mode' and '-Ec' option has not been supported."},
      {{"-all_algoc", "-bx_mode", "-float"}, "Combined use of '-bx_mode' and '-float' option has not been supported."},
      {{"-algoc", "-bx_mode2", "-Ec"}, "Combined use of '-ex_mode2' and '-Ec' option has not been supported."},
      {{"-algoc", "-bx_mode2", "-float"}, "Combined use of '-ex_mode2' and '-float' option has not been supported."},
      {{"-dsp", "-Ec"}, "-Ec option has not supported DSP."},
      {{"-all_dsp", "-float"}, "-float option has not supported DSP."},
      {{"-simple_mode", "-Ec"}, "Combined use of '-ex_mode' and '-Ec' option has not been supported."},
      {{"-ex_mode", "-float"}, "Combined use of '-ex_mode' and '-float' option has not been supported."},
      {{"-bx_mode", "-Ec"}, "Combined use of '-bx_mode' and '-Ec' option has not been supported."},
      {{"-bx_mode", "-float"}, "Combined use of '-bx_mode' and '-float' option has not been supported."},
      {{"-bx_mode2", "-Ec"}, "Combined use of '-ex_mode2' and '-Ec' option has not been supported."},
      {{"-bx_mode2", "-float"}, "Combined use of '-ex_mode2' and '-float' option has not been supported."},
  });
}

TEST(Consistency, CombinationsThatPass) {
  expectRules({
      {{}, ""},
      {{"-Ec"}, ""},
      {{"-float"}, ""},
      {{"-bx_mode2"}, ""},
      {{"-dsp", "-bx_mode"}, ""},
      {{"-dsp", "-ex_mode"}, ""},
      {{"-ansic", "-bx_mode2"}, ""},
      {{"-algoc", "-bx_mode"}, ""},
      {{"-algoc", "-Ec", "-float"}, ""},
      {{"-Ec", "-En", "-ex_mode"}, ""},
      {{"-ansic", "-all_ansic", "-O1"}, ""},
  });
}

// Only the first rule that holds is reported.
TEST(Consistency, OnlyTheFirstViolationIsReported) {
  expectRules({
      {{"-algoc", "-bx_mode", "-Ec", "-float"}, "Combined use of '-bx_mode' and '-Ec' option has not been supported."},
      {{"-algoc", "-ex_mode", "-Ec"}, "-ex_mode option has not supported AlgorithmicC."},
      {{"-ansic", "-float", "-Ec", "-ex_mode"}, "-ex_mode option has not supported ANSI-C."},
      {{"-dsp", "-float", "-Ec"}, "-Ec option has not supported DSP."},
      {{"-ex_mode", "-float", "-Ec"}, "Combined use of '-ex_mode' and '-Ec' option has not been supported."},
      {{"--help", "-ansic", "-float"}, "-float option has not supported ANSI-C."},
  });
}

// Explicit DSP is judged before AlgorithmicC, AlgorithmicC before ANSI-C
// (run control refuses such mixes first; a constraint file may still set them).
TEST(Consistency, TargetGroupPrecedence) {
  expectRules({
      {{"-dsp", "-algoc", "-ex_mode"}, ""},
      {{"-dsp", "-ansic", "-bx_mode"}, ""},
      {{"-algoc", "-ansic", "-bx_mode"}, ""},
      {{"-algoc", "-ansic", "-ex_mode"}, "-ex_mode option has not supported AlgorithmicC."},
  });
}

// The "all" flags alone choose their group too (a constraint file may set
// them without the plain ones).
TEST(Consistency, AllFlagsAloneChooseTheirGroup) {
  struct Row {
    bool RunSettings::*target;
    std::string message;
  };
  const std::vector<Row> rows = {
      {&RunSettings::all_dsp, "Error : -Ec option has not supported DSP.\n"},
      {&RunSettings::all_algoc, "Error : Combined use of '-bx_mode' and '-Ec' option has not been supported.\n"},
      {&RunSettings::all_ansic, "Error : -bx_mode option has not supported ANSI-C.\n"},
  };
  for (const Row& row : rows) {
    RunSettings rs;
    rs.*row.target = true;
    rs.ex_mode = 2;
    rs.Ec = 1;
    testing::internal::CaptureStdout();
    EXPECT_EQ(checkOptionConsistency(rs), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), row.message);
  }
}

// Ec and float count only when they equal 1 (a constraint file could leave
// other values); the check changes no setting.
TEST(Consistency, EcAndFloatCountOnlyAsOne) {
  RunSettings rs;
  rs.ansic = true;
  rs.Ec = 2;
  rs.float_ = -1;
  const std::string before = settings_testing::dump(rs);
  EXPECT_EQ(checkOptionConsistency(rs), 0);
  EXPECT_EQ(settings_testing::dump(rs), before);
}

}  // namespace
