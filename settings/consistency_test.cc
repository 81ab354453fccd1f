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

// One case per kind of rule (a mode, -Ec, -float, or a mode with either) in
// each target group, plus the group precedence and the first rule winning.
TEST(Consistency, TheFirstRuleOfTheTargetGroupThatHoldsIsReported) {
  const std::vector<Rule> rules = {
      {{.ansic = true, .ex_mode = 2}, "-bx_mode option has not supported ANSI-C."},
      {{.all_ansic = true, .Ec = 1}, "-Ec option has not supported ANSI-C."},
      {{.ansic = true, .float_ = 1}, "-float option has not supported ANSI-C."},
      {{.ansic = true, .Ec = 1, .float_ = 1, .ex_mode = 1}, "-ex_mode option has not supported ANSI-C."},
      {{.algoc = true, .ex_mode = 1}, "-ex_mode option has not supported AlgorithmicC."},
      {{.all_algoc = true, .Ec = 1, .float_ = 1, .ex_mode = 2},
       "Combined use of '-bx_mode' and '-Ec' option has not been supported."},
      {{.algoc = true, .float_ = 1, .ex_mode = 3},
       "Combined use of '-ex_mode2' and '-float' option has not been supported."},
      {{.ansic = true, .algoc = true, .Ec = 1, .ex_mode = 3},
       "Combined use of '-ex_mode2' and '-Ec' option has not been supported."},
      {{.dsp = true, .Ec = 1, .float_ = 1}, "-Ec option has not supported DSP."},
      {{.algoc = true, .all_dsp = true, .float_ = 1}, "-float option has not supported DSP."},
      {{.Ec = 1, .float_ = 1, .ex_mode = 1}, "Combined use of '-ex_mode' and '-Ec' option has not been supported."},
      {{.float_ = 1, .ex_mode = 2}, "Combined use of '-bx_mode' and '-float' option has not been supported."},
      {{.Ec = 1, .ex_mode = 3}, "Combined use of '-ex_mode2' and '-Ec' option has not been supported."},
      // Consistent: what no rule of the group names.
      {{}, ""},
      {{.Ec = 1, .float_ = 1}, ""},
      {{.ex_mode = 3}, ""},
      {{.ansic = true, .ex_mode = 3}, ""},
      {{.algoc = true, .ex_mode = 3}, ""},
      {{.algoc = true, .Ec = 1, .float_ = 1}, ""},
      {{.ansic = true, .algoc = true, .dsp = true, .ex_mode = 2}, ""},
      {{.ansic = true, .Ec = 2, .float_ = -1}, ""},  // only 1 counts (a constraint file may set others)
  };
  for (size_t k = 0; k < rules.size(); ++k) {
    SCOPED_TRACE("case " + std::to_string(k));
    const Rule& rule = rules[k];
    RunSettings rs = rule.settings;
    testing::internal::CaptureStdout();
    const int result = checkOptionConsistency(rs);
    const std::string out = testing::internal::GetCapturedStdout();
    RunSettings want = rule.settings;  // nothing but the count changes
    want.errorCount = rule.message.empty() ? 0 : 1;
    EXPECT_EQ(out, rule.message.empty() ? "" : "Error : " + rule.message + "\n");
    EXPECT_EQ(result, rule.message.empty() ? 0 : -1);
    EXPECT_TRUE(rs == want);
  }
}

}  // namespace
