// The tool command lines, piece by piece: every trailing blank counts.
#include "pipeline/commands.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

namespace {

enum class Line {
  Reader,
  Graph,
  FirstCheck,
  IncludeRead,
  PreElaboration,
  Dump,
  Elaboration,
  SecondCheck,
  IncludeWrite
};

// Composes one line with the arguments the pipeline passes. The
// pre-elaboration line follows a first checker line, as in a run.
std::string compose(RunSettings& rs, Line line) {
  switch (line) {
    case Line::Reader:
      return composeReaderCommand(rs, "zel_work/elb/");
    case Line::Graph:
      return composeGraphCommand(rs, "zel_work/elb/");
    case Line::FirstCheck:
      return composeCheckerCommand(rs, "zel_work/elb/", "lurin.cdfg", "zel_work/", "checkInput.inf", false);
    case Line::IncludeRead:
      return composeIncludeReadCommand("zel_work/", "infoinclude.icd", rs.inputFiles);
    case Line::PreElaboration:
      composeCheckerCommand(rs, "zel_work/elb/", "lurin.cdfg", "zel_work/", "checkInput.inf", false);
      return composePreElaborationCommand(rs, "zel_work/elb/", "lurin.cdfg", "zel_work/", "checkInput.inf",
                                          "zel_work/elb/", "elb_lurin.cdfg");
    case Line::Dump:
      return composeDumpCommand();
    case Line::Elaboration:
      return composeElaborationCommand("zel_work/elb/");
    case Line::SecondCheck:
      return composeCheckerCommand(rs, "zel_work/elb/", "elb_lurin.cdfg", "zel_work/", "elaboration.inf", true);
    case Line::IncludeWrite:
      return composeIncludeWriteCommand("zel_work/", "infoinclude.icd", "zel_work/elb/", "elb_", rs.inputFiles,
                                        "_elb.c", "");
  }
  return {};
}

struct Row {
  const char* name;
  void (*setup)(RunSettings&);
  Line line;
  const char* expected;
};

// Names the row in test listings instead of its bytes.
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

void defaults(RunSettings& /*rs*/) {}

const Row kDefaultRun[] = {
    {"reader", defaults, Line::Reader,
     "lurin -notitle -o zel_work/elb/lurin.cfi a.c b.c -i $TALVO/libtalvo/include/stdinclude  "},
    {"graph", defaults, Line::Graph, "dravik -pf -notitle -o zel_work/elb/lurin.cdfg zel_work/elb/lurin.cfi "},
    {"first check", defaults, Line::FirstCheck, "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -dsp -mev "},
    {"include read", defaults, Line::IncludeRead, "seltor -read -inc zel_work/infoinclude.icd a.c b.c "},
    {"pre-elaboration", defaults, Line::PreElaboration,
     "nuvar zel_work/elb/lurin.cdfg zel_work/checkInput.inf zel_work/elb/elb_lurin.cdfg -pointer "},
    {"dump", defaults, Line::Dump, "pomsk "},
    {"elaboration", defaults, Line::Elaboration,
     "kivard -notitle zel_work/elb/elb_lurin.cdfg -mfile zel_work/elb/elb_  "},
    {"second check", defaults, Line::SecondCheck,
     "talvoChk zel_work/elb/elb_lurin.cdfg zel_work/elaboration.inf -nochk -dsp -mev "},
    {"include write", defaults, Line::IncludeWrite,
     "seltor -write -inc zel_work/infoinclude.icd zel_work/elb/elb_a.c zel_work/elb/elb_b.c -s _elb.c -add  "},
};

const Row kOptionRows[] = {
    {"-D twice",
     [](RunSettings& rs) {
       rs.D = {"X=1", "Y"};
     },
     Line::Reader,
     "lurin -notitle -o zel_work/elb/lurin.cfi a.c b.c -i $TALVO/libtalvo/include/stdinclude -d X=1 -d Y  "},
    {"-ip in the reader",
     [](RunSettings& rs) {
       rs.ip = {"P", "Q"};
     },
     Line::Reader,
     "lurin -notitle -o zel_work/elb/lurin.cfi a.c b.c -i $TALVO/libtalvo/include/stdinclude -i P -i Q  "},
    {"-D before -ip", [](RunSettings& rs) { rs.ip = {"inc"}, rs.D = {"N=4"}; }, Line::Reader,
     "lurin -notitle -o zel_work/elb/lurin.cfi a.c b.c -i $TALVO/libtalvo/include/stdinclude -d N=4 -i inc  "},
    {"-ip in the graph",
     [](RunSettings& rs) {
       rs.ip = {"P", "Q"};
     },
     Line::Graph, "dravik -pf -notitle -o zel_work/elb/lurin.cdfg zel_work/elb/lurin.cfi -ip P -ip Q "},
    {"-ansic", [](RunSettings& rs) { rs.ansic = true; }, Line::FirstCheck,
     "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -ansic -mev "},
    {"-ansic drops -pointer", [](RunSettings& rs) { rs.ansic = true; }, Line::PreElaboration,
     "nuvar zel_work/elb/lurin.cdfg zel_work/checkInput.inf zel_work/elb/elb_lurin.cdfg "},
    {"-all_ansic", [](RunSettings& rs) { rs.all_ansic = true; }, Line::FirstCheck,
     "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -ansic -mev "},
    {"-ansic wins over -algoc", [](RunSettings& rs) { rs.ansic = rs.algoc = true; }, Line::FirstCheck,
     "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -ansic -mev "},
    {"-ansic wins over -dsp", [](RunSettings& rs) { rs.ansic = rs.dsp = true; }, Line::FirstCheck,
     "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -ansic -mev "},
    {"-algoc", [](RunSettings& rs) { rs.algoc = true; }, Line::FirstCheck,
     "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -algoc -mev "},
    {"-all_algoc", [](RunSettings& rs) { rs.all_algoc = true; }, Line::FirstCheck,
     "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -algoc -mev "},
    {"-algoc drops -pointer", [](RunSettings& rs) { rs.algoc = true; }, Line::PreElaboration,
     "nuvar zel_work/elb/lurin.cdfg zel_work/checkInput.inf zel_work/elb/elb_lurin.cdfg "},
    {"-dsp", [](RunSettings& rs) { rs.dsp = rs.dspOutput = true; }, Line::PreElaboration,
     "nuvar zel_work/elb/lurin.cdfg zel_work/checkInput.inf zel_work/elb/elb_lurin.cdfg -pointer "},
    {"-algoc -Ec", [](RunSettings& rs) { rs.algoc = true, rs.Ec = 1; }, Line::FirstCheck,
     "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -algoc -mev -Ec "},
    {"-algoc -Ec -bx_mode", [](RunSettings& rs) { rs.algoc = true, rs.Ec = 1, rs.ex_mode = 2; }, Line::FirstCheck,
     "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -algoc -mev "},
    {"-Ec without -algoc", [](RunSettings& rs) { rs.Ec = 1; }, Line::FirstCheck,
     "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -dsp -mev "},
    {"-Ec with -all_algoc alone", [](RunSettings& rs) { rs.all_algoc = true, rs.Ec = 1; }, Line::FirstCheck,
     "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -algoc -mev "},
    {"-amdl", [](RunSettings& rs) { rs.mev = 0; }, Line::FirstCheck,
     "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -dsp "},
    {"-avar_max_size 0", [](RunSettings& rs) { rs.avar_max_size = 0; }, Line::FirstCheck,
     "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -dsp -mev "},
    {"-avar_max_size -3", [](RunSettings& rs) { rs.avar_max_size = -3; }, Line::FirstCheck,
     "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -dsp -mev "},
    {"-avar_max_size 16", [](RunSettings& rs) { rs.avar_max_size = 16; }, Line::FirstCheck,
     "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -dsp -mev -avar_max_size 16 "},
    {"-s_nopv", [](RunSettings& rs) { rs.s_nopv = 1; }, Line::FirstCheck,
     "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -nopv -dsp -mev "},
    {"-s_nopv second check", [](RunSettings& rs) { rs.s_nopv = 1; }, Line::SecondCheck,
     "talvoChk zel_work/elb/elb_lurin.cdfg zel_work/elaboration.inf -nochk -nopv -dsp -mev "},
    {"-ctf", [](RunSettings& rs) { rs.ctf = "filter.ctf"; }, Line::FirstCheck,
     "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -dsp -ctf filter.ctf -mev "},
    {"every checker piece",
     [](RunSettings& rs) { rs.s_nopv = 1, rs.algoc = true, rs.ctf = "c.ctf", rs.Ec = 1, rs.avar_max_size = 8; },
     Line::SecondCheck,
     "talvoChk zel_work/elb/elb_lurin.cdfg zel_work/elaboration.inf -nochk -nopv -algoc -ctf c.ctf -mev -Ec "
     "-avar_max_size 8 "},
    {"-p_tvar", [](RunSettings& rs) { rs.p_tvar = "t_"; }, Line::PreElaboration,
     "nuvar zel_work/elb/lurin.cdfg zel_work/checkInput.inf zel_work/elb/elb_lurin.cdfg -pointer -p_tvar t_ "},
    {"-p_cvar", [](RunSettings& rs) { rs.p_cvar = "c_"; }, Line::PreElaboration,
     "nuvar zel_work/elb/lurin.cdfg zel_work/checkInput.inf zel_work/elb/elb_lurin.cdfg -pointer -p_cvar c_ "},
    {"-p_tvar -p_cvar -ansic", [](RunSettings& rs) { rs.p_cvar = "c_", rs.p_tvar = "t_", rs.ansic = true; },
     Line::PreElaboration,
     "nuvar zel_work/elb/lurin.cdfg zel_work/checkInput.inf zel_work/elb/elb_lurin.cdfg -p_tvar t_ -p_cvar c_ "},
    {"a file in a subdirectory", [](RunSettings& rs) { rs.inputFiles = {"sub/x.c"}; }, Line::IncludeWrite,
     "seltor -write -inc zel_work/infoinclude.icd zel_work/elb/elb_sub/x.c -s _elb.c -add  "},
    {"a name with a blank stays unquoted", [](RunSettings& rs) { rs.inputFiles = {"my file.c"}; }, Line::Reader,
     "lurin -notitle -o zel_work/elb/lurin.cfi my file.c -i $TALVO/libtalvo/include/stdinclude  "},
    {"no input files", [](RunSettings& rs) { rs.inputFiles.clear(); }, Line::IncludeRead,
     "seltor -read -inc zel_work/infoinclude.icd "},
};

class ComposedLine : public testing::TestWithParam<Row> {};

TEST_P(ComposedLine, IsExact) {
  RunSettings rs;
  rs.inputFiles = {"a.c", "b.c"};
  GetParam().setup(rs);
  EXPECT_EQ(compose(rs, GetParam().line), GetParam().expected);
}

std::string rowName(const testing::TestParamInfo<Row>& info) {
  std::string name;
  for (const char* c = info.param.name; *c != '\0'; ++c) {
    name += std::isalnum(static_cast<unsigned char>(*c)) != 0 ? *c : '_';
  }
  return name + "_" + std::to_string(info.index);
}

INSTANTIATE_TEST_SUITE_P(DefaultRun, ComposedLine, testing::ValuesIn(kDefaultRun), rowName);
INSTANTIATE_TEST_SUITE_P(Options, ComposedLine, testing::ValuesIn(kOptionRows), rowName);

TEST(CheckerCommand, RecordsWhetherDspWasChosen) {
  RunSettings rs;
  rs.dspOutput = true;  // left by "-dsp" on the command line
  rs.algoc = true;
  compose(rs, Line::FirstCheck);
  EXPECT_FALSE(rs.dspOutput);
  rs.algoc = false;
  compose(rs, Line::SecondCheck);
  EXPECT_TRUE(rs.dspOutput);
}

TEST(CommandDirectories, GetASlashOnlyWhenTheyLackOne) {
  RunSettings rs;
  EXPECT_EQ(composeGraphCommand(rs, "w"), "dravik -pf -notitle -o w/lurin.cdfg w/lurin.cfi ");
  EXPECT_EQ(composeElaborationCommand("w//"), "kivard -notitle w//elb_lurin.cdfg -mfile w//elb_  ");
  EXPECT_EQ(composeIncludeWriteCommand("i", "f.icd", "o", "p_", {"x.c"}, "_s.c", "h.h"),
            "seltor -write -inc i/f.icd o/p_x.c -s _s.c -add h.h ");
}

}  // namespace
