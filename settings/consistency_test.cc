#include "settings/consistency.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A case names only the fields it changes; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

struct Rule {
  RunSettings settings;
  std::string message;  // empty: consistent
};

// Each kind of rule (a mode, -Ec, -float, a mode with either) once in each
// target group, the group precedence and the first rule that holds winning.
TEST(Consistency, TheFirstRuleOfTheTargetGroupThatHoldsIsReported) {
  const std::vector<Rule> rules = {
      {{.ansic = true, .Ec = 1, .float_ = 1, .ex_mode = 1}, "-ex_mode option has not supported ANSI-C."},
      {{.all_ansic = true, .Ec = 1, .float_ = 1}, "-Ec option has not supported ANSI-C."},
      {{.ansic = true, .float_ = 1}, "-float option has not supported ANSI-C."},
      {{.algoc = true, .ex_mode = 1}, "-ex_mode option has not supported AlgorithmicC."},
      {{.all_algoc = true, .Ec = 1, .float_ = 1, .ex_mode = 2},
       "Combined use of '-bx_mode' and '-Ec' option has not been supported."},
      {{.ansic = true, .algoc = true, .float_ = 1, .ex_mode = 3},
       "Combined use of '-ex_mode2' and '-float' option has not been supported."},
      {{.dsp = true, .Ec = 1, .float_ = 1}, "-Ec option has not supported DSP."},
      {{.algoc = true, .all_dsp = true, .float_ = 1}, "-float option has not supported DSP."},
      {{.Ec = 1, .float_ = 1, .ex_mode = 1}, "Combined use of '-ex_mode' and '-Ec' option has not been supported."},
      {{.float_ = 1, .ex_mode = 2}, "Combined use of '-bx_mode' and '-float' option has not been supported."},
      {{.ansic = true, .ex_mode = 2}, "-bx_mode option has not supported ANSI-C."},
      {{.algoc = true, .float_ = 1, .ex_mode = 2},
       "Combined use of '-bx_mode' and '-float' option has not been supported."},
      {{.algoc = true, .Ec = 1, .ex_mode = 3}, "Combined use of '-ex_mode2' and '-Ec' option has not been supported."},
      {{.float_ = 1, .ex_mode = 1}, "Combined use of '-ex_mode' and '-float' option has not been supported."},
      {{.Ec = 1, .ex_mode = 2}, "Combined use of '-bx_mode' and '-Ec' option has not been supported."},
      {{.Ec = 1, .ex_mode = 3}, "Combined use of '-ex_mode2' and '-Ec' option has not been supported."},
      {{.float_ = 1, .ex_mode = 3}, "Combined use of '-ex_mode2' and '-float' option has not been supported."},
      // Consistent: what no rule of the group names.
      {{.Ec = 1, .float_ = 1}, ""},
      {{.algoc = true, .ex_mode = 3}, ""},  // AlgorithmicC has no rule for -bx_mode2 alone
      {{.algoc = true, .Ec = 1, .float_ = 1}, ""},
  };
  for (const Rule& rule : rules) {
    SCOPED_TRACE(&rule - rules.data());
    RunSettings rs = rule.settings;
    RunSettings want = rule.settings;  // nothing but the count changes
    want.errorCount = rule.message.empty() ? 0 : 1;
    testing::internal::CaptureStdout();
    EXPECT_EQ(checkOptionConsistency(rs), -want.errorCount);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), rule.message.empty() ? "" : "Error : " + rule.message + "\n");
    EXPECT_TRUE(rs == want);
  }
}

}  // namespace
