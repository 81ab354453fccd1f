// The pipeline with a recording runner: the exact tool lines, their order,
// and the phase statuses; every trailing blank of a line counts.
#include "pipeline/pipeline.h"

#include <gtest/gtest.h>

#include <functional>


namespace {

// Runs the pipeline on a.c and b.c after `change`; the `failAt`-th line (from 0) fails.
std::vector<std::string> linesOf(const std::function<void(RunSettings&)>& change, int32_t status = 0,
                                 size_t failAt = SIZE_MAX) {
  RunSettings rs;
  rs.inputFiles = {"a.c", "b.c"};
  change(rs);
  std::vector<std::string> lines;
  testing::internal::CaptureStdout();
  EXPECT_EQ(runPipeline(rs, [&](const std::string& line) { return lines.push_back(line), lines.size() - 1 == failAt; }),
            status);
  const std::string heading = failAt < 4 ? "" : ">>>     Elaborating C-files.\n";
  EXPECT_EQ(testing::internal::GetCapturedStdout(), ">>> -s :Checking and analyzing C-files.\n" + heading);
  return lines;
}

// The exact lines of a whole run are in the example's golden log; here each
// line's place, its phase and what each setting adds to it.
TEST(Pipeline, AFailingLineEndsTheRunWithItsPhasesStatus) {
  EXPECT_EQ(linesOf([](RunSettings&) {}).size(), 8U);  // the dump only when asked for
  for (size_t failing = 0; failing < 9; ++failing) {
    EXPECT_EQ(linesOf([](RunSettings& rs) { rs.instanceDump = 1; }, failing < 4 ? -2 : -3, failing).size(), failing + 1);
  }
}

// One line of the default run as settings change it.
struct LineRow {
  std::function<void(RunSettings&)> change;
  size_t line;
  const char* expected;
};

TEST(Pipeline, EachSettingReachesItsLine) {
  const LineRow rows[] = {
      {[](RunSettings& rs) { rs.D = {"N=4", "Y"}, rs.ip = {"P", "Q"}; }, 0,
       "lurin -notitle -o zel_work/elb/lurin.cfi a.c b.c -i $TALVO/libtalvo/include/stdinclude -d N=4 -d Y -i P -i Q  "},
      // A name of the letters' and digits' edges stays bare; an empty one, read back from a list, is a word.
      {[](RunSettings& rs) { rs.inputFiles = {"azAZ09.c", ""}; }, 3,
       "seltor -read -inc zel_work/infoinclude.icd azAZ09.c '' "},
      {[](RunSettings& rs) { rs.ip = {"P", "Q"}; }, 1,
       "dravik -pf -notitle -o zel_work/elb/lurin.cdfg zel_work/elb/lurin.cfi -ip P -ip Q "},
      {[](RunSettings& rs) { rs.all_ansic = rs.ansic = true; }, 2,
       "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -ansic -mev "},
      {[](RunSettings& rs) { rs.algoc = true, rs.Ec = 1, rs.ex_mode = 2; }, 2,  // and not with -bx_mode
       "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -algoc -mev "},
      {[](RunSettings& rs) { rs.s_nopv = 1, rs.algoc = true, rs.ctf = "c.ctf", rs.Ec = 1, rs.avar_max_size = 1; }, 6,
       "talvoChk zel_work/elb/elb_lurin.cdfg zel_work/elaboration.inf -nochk -nopv -algoc -ctf c.ctf -mev -Ec "
       "-avar_max_size 1 "},
      {[](RunSettings& rs) { rs.Ec = 1, rs.mev = 0, rs.avar_max_size = 0; }, 2,  // -Ec only for AlgorithmicC
       "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -dsp "},
      {[](RunSettings& rs) { rs.ansic = rs.dsp = rs.dspOutput = true, rs.p_tvar = "t_", rs.p_cvar = "c_"; }, 4,
       "nuvar zel_work/elb/lurin.cdfg zel_work/checkInput.inf zel_work/elb/elb_lurin.cdfg -p_tvar t_ -p_cvar c_ "},
  };
  for (const LineRow& row : rows) {
    EXPECT_EQ(linesOf(row.change).at(row.line), row.expected);
  }
}

}  // namespace
