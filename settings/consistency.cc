#include "settings/consistency.h"

#include <string_view>

#include "settings/report.h"

namespace {

enum class TargetGroup { kAnsiC, kAlgorithmicC, kExplicitDsp, kNoTarget };

constexpr int32_t kAnyMode = -1;

// A rule holds when every part it names holds: `ex_mode` equal to `exMode`
// (unless kAnyMode), `Ec` equal to 1, `float` equal to 1.
struct Condition {
  int32_t exMode = kAnyMode;
  bool ec = false;
  bool floatOption = false;
};

struct ConsistencyRule {
  TargetGroup group;
  Condition condition;
  std::string_view message;
};

using enum TargetGroup;

// Tried in this order; the first rule of the run's group that holds is reported.
// clang-format off
constexpr ConsistencyRule kRules[] = {
  {kAnsiC,        {.exMode = 1},              "-ex_mode option has not supported ANSI-C."},
  {kAnsiC,        {.exMode = 2},              "-bx_mode option has not supported ANSI-C."},
  {kAnsiC,        {.ec = true},               "-Ec option has not supported ANSI-C."},
  {kAnsiC,        {.floatOption = true},      "-float option has not supported ANSI-C."},
  {kAlgorithmicC, {.exMode = 1},              "-ex_mode option has not supported AlgorithmicC."},
  {kAlgorithmicC, {.exMode = 2, .ec = true},  "Combined use of '-bx_mode' and '-Ec' option has not been supported."},
  {kAlgorithmicC, {.exMode = 2, .floatOption = true},
                                              "Combined use of '-bx_mode' and '-float' option has not been supported."},
  {kAlgorithmicC, {.exMode = 3, .ec = true},  "Combined use of '-ex_mode2' and '-Ec' option has not been supported."},
  {kAlgorithmicC, {.exMode = 3, .floatOption = true},
                                              "Combined use of '-ex_mode2' and '-float' option has not been supported."},
  {kExplicitDsp,  {.ec = true},               "-Ec option has not supported DSP."},
  {kExplicitDsp,  {.floatOption = true},      "-float option has not supported DSP."},
  {kNoTarget,     {.exMode = 1, .ec = true},  "Combined use of '-ex_mode' and '-Ec' option has not been supported."},
  {kNoTarget,     {.exMode = 1, .floatOption = true},
                                              "Combined use of '-ex_mode' and '-float' option has not been supported."},
  {kNoTarget,     {.exMode = 2, .ec = true},  "Combined use of '-bx_mode' and '-Ec' option has not been supported."},
  {kNoTarget,     {.exMode = 2, .floatOption = true},
                                              "Combined use of '-bx_mode' and '-float' option has not been supported."},
  {kNoTarget,     {.exMode = 3, .ec = true},  "Combined use of '-ex_mode2' and '-Ec' option has not been supported."},
  {kNoTarget,     {.exMode = 3, .floatOption = true},
                                              "Combined use of '-ex_mode2' and '-float' option has not been supported."},
};
// clang-format on

// The group of checks, the consistency checks' rule: an explicit DSP request
// wins over AlgorithmicC, which wins over ANSI-C; without a request the group
// is that of DSP by default, whose checks differ from explicit DSP's. The
// checker's line has its own rule, ANSI-C over AlgorithmicC over DSP
// (pipeline/commands.h), which needs no DSP request since DSP is what remains.
// The orders never meet: run control refuses two requests together before the
// checks run and before any line is composed.
TargetGroup targetGroup(const RunSettings& rs) {
  if (rs.dsp || rs.all_dsp) {
    return kExplicitDsp;
  }
  if (rs.algoc || rs.all_algoc) {
    return kAlgorithmicC;
  }
  if (rs.ansic || rs.all_ansic) {
    return kAnsiC;
  }
  return kNoTarget;
}

bool holds(const Condition& condition, const RunSettings& rs) {
  return (condition.exMode == kAnyMode || rs.ex_mode == condition.exMode) && (!condition.ec || rs.Ec == 1) &&
         (!condition.floatOption || rs.float_ == 1);
}

}  // namespace

int checkOptionConsistency(RunSettings& rs) {
  const TargetGroup group = targetGroup(rs);
  for (const ConsistencyRule& rule : kRules) {
    if (rule.group == group && holds(rule.condition, rs)) {
      reportError(rs, rule.message);
      return -1;
    }
  }
  return 0;
}
