// The pipeline with a recording runner: the exact tool lines, their order,
// and the phase statuses; every trailing blank of a line counts.
#include "pipeline/pipeline.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "pipeline/commands.h"

namespace {

// The lines a runner was given, in order; the `failAt`-th (from 0) fails.
struct Recorder {
  std::vector<std::string> lines;
  size_t failAt = SIZE_MAX;

  CommandRunner runner() {
    return [this](const std::string& line) {
      lines.push_back(line);
      return lines.size() - 1 == failAt ? 1 : 0;
    };
  }
};

RunSettings twoFiles() {
  RunSettings rs;
  rs.inputFiles = {"a.c", "b.c"};
  return rs;
}

std::vector<std::string> linesOf(RunSettings rs) {
  Recorder recorder;
  testing::internal::CaptureStdout();
  EXPECT_EQ(runPipeline(rs, recorder.runner()), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            ">>> -s :Checking and analyzing C-files.\n>>>     Elaborating C-files.\n");
  return recorder.lines;
}

const std::vector<std::string> kDefaultLines = {
    "lurin -notitle -o zel_work/elb/lurin.cfi a.c b.c -i $TALVO/libtalvo/include/stdinclude  ",
    "dravik -pf -notitle -o zel_work/elb/lurin.cdfg zel_work/elb/lurin.cfi ",
    "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -dsp -mev ",
    "seltor -read -inc zel_work/infoinclude.icd a.c b.c ",
    "nuvar zel_work/elb/lurin.cdfg zel_work/checkInput.inf zel_work/elb/elb_lurin.cdfg -pointer ",
    "kivard -notitle zel_work/elb/elb_lurin.cdfg -mfile zel_work/elb/elb_  ",
    "talvoChk zel_work/elb/elb_lurin.cdfg zel_work/elaboration.inf -nochk -dsp -mev ",
    "seltor -write -inc zel_work/infoinclude.icd zel_work/elb/elb_a.c zel_work/elb/elb_b.c -s _elb.c -add  ",
};

TEST(Pipeline, RunsEightExactLinesAndTheDumpOnlyWhenAsked) {
  EXPECT_EQ(linesOf(twoFiles()), kDefaultLines);
  RunSettings rs = twoFiles();
  rs.instanceDump = 1;
  std::vector<std::string> withDump = kDefaultLines;
  withDump.insert(withDump.begin() + 5, "pomsk ");
  EXPECT_EQ(linesOf(rs), withDump);
}

TEST(Pipeline, AFailingStepEndsTheRunWithItsPhasesStatus) {
  for (size_t failing = 0; failing < 9; ++failing) {
    RunSettings rs = twoFiles();
    rs.instanceDump = 1;
    Recorder recorder;
    recorder.failAt = failing;
    testing::internal::CaptureStdout();
    EXPECT_EQ(runPipeline(rs, recorder.runner()), failing < 4 ? -2 : -3) << failing;
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(recorder.lines.size(), failing + 1);
    EXPECT_EQ(out.find("Elaborating") != std::string::npos, failing >= 4) << failing;
  }
}

// One line of the default run as a setting changes it.
struct LineRow {
  const char* name;
  std::function<void(RunSettings&)> change;
  size_t line;
  const char* expected;
};

TEST(Pipeline, EachSettingReachesItsLine) {
  const LineRow rows[] = {
      {"-D before -ip, in order", [](RunSettings& rs) { rs.D = {"N=4", "Y"}, rs.ip = {"P", "Q"}; }, 0,
       "lurin -notitle -o zel_work/elb/lurin.cfi a.c b.c -i $TALVO/libtalvo/include/stdinclude -d N=4 -d Y -i P "
       "-i Q  "},
      {"-ip for the graph", [](RunSettings& rs) { rs.ip = {"P", "Q"}; }, 1,
       "dravik -pf -notitle -o zel_work/elb/lurin.cdfg zel_work/elb/lurin.cfi -ip P -ip Q "},
      {"ANSI-C over AlgorithmicC", [](RunSettings& rs) { rs.all_ansic = rs.algoc = true; }, 2,
       "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -ansic -mev "},
      {"AlgorithmicC", [](RunSettings& rs) { rs.all_algoc = true; }, 2,
       "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -algoc -mev "},
      {"-nopv, -ctf, -Ec, -avar_max_size",
       [](RunSettings& rs) { rs.s_nopv = 1, rs.algoc = true, rs.ctf = "c.ctf", rs.Ec = 1, rs.avar_max_size = 1; }, 6,
       "talvoChk zel_work/elb/elb_lurin.cdfg zel_work/elaboration.inf -nochk -nopv -algoc -ctf c.ctf -mev -Ec "
       "-avar_max_size 1 "},
      {"-Ec only for AlgorithmicC, not with -bx_mode",
       [](RunSettings& rs) { rs.all_algoc = true, rs.Ec = 1, rs.ex_mode = 2, rs.avar_max_size = 0; }, 2,
       "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -algoc -mev "},
      {"-Ec without AlgorithmicC, -amdl", [](RunSettings& rs) { rs.Ec = 1, rs.mev = 0; }, 2,
       "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -dsp "},
      {"no -pointer unless the checker chose DSP, prefixes",
       [](RunSettings& rs) { rs.ansic = rs.dsp = rs.dspOutput = true, rs.p_tvar = "t_", rs.p_cvar = "c_"; }, 4,
       "nuvar zel_work/elb/lurin.cdfg zel_work/checkInput.inf zel_work/elb/elb_lurin.cdfg -p_tvar t_ -p_cvar c_ "},
      {"names unquoted, subdirectories kept", [](RunSettings& rs) { rs.inputFiles = {"my file.c", "sub/x.c"}; }, 7,
       "seltor -write -inc zel_work/infoinclude.icd zel_work/elb/elb_my file.c zel_work/elb/elb_sub/x.c -s _elb.c "
       "-add  "},
  };
  for (const LineRow& row : rows) {
    RunSettings rs = twoFiles();
    row.change(rs);
    EXPECT_EQ(linesOf(rs).at(row.line), row.expected) << row.name;
  }
}

TEST(Commands, DirectoriesGetASlashOnlyWhenTheyLackOne) {
  EXPECT_EQ(composeElaborationCommand("w"), "kivard -notitle w/elb_lurin.cdfg -mfile w/elb_  ");
  EXPECT_EQ(composeIncludeWriteCommand("i/", "f.icd", "o", "p_", {"x.c"}, "_s.c", "h.h"),
            "seltor -write -inc i/f.icd o/p_x.c -s _s.c -add h.h ");
}

}  // namespace
