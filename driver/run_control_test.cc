// A whole run in-process, the tools replaced by a recording runner: the
// environment checks, the constraint file and the command line joined, the
// admission checks, the informational texts and the end of a run.
#include "driver/run_control.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/expected_output.h"
#include "support/scratch.h"

namespace {

using namespace expected;  // NOLINT(google-build-using-namespace): the log texts

struct Outcome {
  int status;
  std::string out;
  std::vector<std::string> lines;  // what the runner was given
};

// The run's tools all end with `toolStatus`.
Outcome runIn(Scratch& scratch, std::vector<std::string> args, int toolStatus = 0) {
  InProject inProject(scratch);
  args.insert(args.begin(), "talvo_s");
  RunSettings rs;
  ConstraintStore store;
  Outcome run{};
  testing::internal::CaptureStdout();
  run.status = runTalvo(args, rs, store, [&](const std::string& line) {
    run.lines.push_back(line);
    return toolStatus;
  });
  run.out = normaliseDates(testing::internal::GetCapturedStdout());
  return run;
}

const std::string kRefused = "Displaying help: `--help'.\n";
const std::string kUsage =
    ">>talvo_s [option(s)] C-files ...\n C-files :C-langage sorce files.\n option(s)\n"
    "   -dsp   :Checking and analyzing for DSP. (default)\n   -algoc :Checking and analyzing for AlgorithmicC.\n"
    "   --version :Displaying version information.\n   --help :Displaying help.\n\n";

struct RefusedRun {
  std::vector<std::string> args;
  const char* talvo;  // nullptr: unset; "": the scratch root
  std::string log;    // after the banner
};

TEST(RunControl, RefusedRunsTouchNothing) {
  const std::string ansiDsp = "Error : An ANSI-C output and a DSP output cannot be specified simultaneously.\n";
  const RefusedRun runs[] = {
      {{"--help"}, nullptr, "Error : The environment variable TALVO is not set up. \n"},
      {{"--help"}, "/nowhere",
       ">>> '/nowhere/libtalvo/include/stdinclude/stdio.h' cannot be found: No such file or directory.\n"
       "Error : An error is in the value of an environment variable TALVO. \n"},
      {{"a.c", "-ctf"}, "", "Error : A mistake is in specification of \"-ctf <fname>\" option.\n"},
      {{"-ctf", "first.ctf", "a.c", "-ctf", "second.ctf"}, "",
       checking("first.ctf") + ">>> 'first.ctf' cannot be opened: No such file or directory.\n" +
           "Error:constarint:Cat't open 'first.ctf'\nReading of a file went wrong. 'first.ctf'\n"},
      {{}, "", echo("") + "Error : No input files.\n"},
      {{"-foo", "a.c"}, "", echo(" -foo a.c") + "Error : option : '-foo' No such option.\n" + kRefused},
      {{"a.c", "-maxt", "65d"}, "",
       echo(" a.c -maxt 65d") + "Warning : option : '65d' is too large(Maximum-T bitsize can allow [0-64]).\n" +
           kRefused},
      {{"-ansic", "-dsp", "a.c"}, "", echo(" -ansic -dsp a.c") + ansiDsp + kRefused},
      {{"-algoc", "-dsp", "a.c"}, "",
       echo(" -algoc -dsp a.c") +
           "Error : An AlgorithmicC output and a DSP output cannot be specified simultaneously.\n" + kRefused},
      {{"-dsp", "-all_ansic", "-algoc", "a.c"}, "",  // -all_ansic asks for ANSI-C as -ansic does
       echo(" -dsp -all_ansic -algoc a.c") +
           "Error : An ANSI-C output and an AlgorithmicC output cannot be specified simultaneously.\n" + kRefused},
      {{"-na", "a.c"}, "",  // the work directory step refuses: no tool starts, no status line
       echo(" -na a.c") + ">>> 'zel_work/input.lst' cannot be written: No such file or directory.\n" +
           "Error : The pretreatment is not performed.\n"},
      // Names the input list cannot hold.
      {{"a.c", "./", "a;b.c"}, "", echo(" a.c ./ a;b.c") + ">>> '' is an empty input file name.\n" +
       ">>> 'a;b.c' cannot be listed: the input list separates names with \";\".\n" +
       "Error : The pretreatment is not performed.\n"},
      {{"--help", "-ansic", "-float"}, "", echo(" --help -ansic -float") + "Error : -float option has not supported ANSI-C.\n"},
  };
  for (const RefusedRun& refused : runs) {
    Scratch scratch;
    if (refused.talvo == nullptr) {
      scratch.env().erase("TALVO");
    } else if (*refused.talvo != '\0') {
      scratch.env()["TALVO"] = refused.talvo;
    }
    const Outcome run = runIn(scratch, refused.args);
    EXPECT_EQ(run.out, kBanner + refused.log) << refused.log;
    EXPECT_EQ(run.status, -1);
    EXPECT_TRUE(run.lines.empty());
    EXPECT_FALSE(scratch.exists("zel_work"));
  }
}

// Help alone touches no file; with C files the run goes on after it.
TEST(RunControl, VersionAndHelpComeBeforeThePipeline) {
  Scratch scratch;
  const Outcome help = runIn(scratch, {"--help"});
  EXPECT_EQ(help.out, kBanner + echo(" --help") + kUsage);
  EXPECT_EQ(help.status, 0);
  EXPECT_FALSE(scratch.exists("zel_work"));
  const Outcome run = runIn(scratch, {"--version", "--help", "a.c"});
  EXPECT_EQ(run.out, kBanner + echo(" --version --help a.c") + "*** Talvoware-for_c_analyzer version 1.00.00 ***\n\n" +
                         kUsage + kChecking + kElaborating + kFinished);
  EXPECT_EQ(run.status, 0);
}

// The first failing tool ends its phase; the run ends as a stopped one and
// still removes the inputs' temporary files.
TEST(RunControl, AFailingToolEndsTheRunAsStopped) {
  Scratch scratch;
  scratch.write("a.c.p", "");
  const Outcome run = runIn(scratch, {"a.c"}, 9);
  EXPECT_EQ(run.out, kBanner + echo(" a.c") + kChecking + kStopped);
  EXPECT_EQ(run.status, -2);
  EXPECT_FALSE(scratch.exists("a.c.p"));
}

TEST(RunControl, OnlyExactlyOneTurnsASwitchOn) {
  for (const char* off : {"", "1 ", "11", " 1", "0"}) {
    EXPECT_EQ(switchValue(off), 0) << '"' << off << '"';
  }
  EXPECT_EQ(switchValue("1"), 1);
}

TEST(RunControl, TheFileGoesFirstAndTheCommandLineWins) {
  Scratch scratch;
  scratch.write("c.ctf", "$def_start_option\n-D FILE_DEF\n-ip file_inc\n-amdl\n-avar_max_size 16\n");
  const Outcome run = runIn(scratch, {"-ctf", "c.ctf", "-D", "CMD", "-ip", "cmd_inc", "-mev", "-avar_max_size", "8", "a.c"});
  ASSERT_GE(run.lines.size(), 3U);
  EXPECT_EQ(run.lines[0], "lurin -notitle -o zel_work/elb/lurin.cfi a.c -i $TALVO/libtalvo/include/stdinclude "
                          "-d FILE_DEF -d CMD -i file_inc -i cmd_inc  ");
  EXPECT_EQ(run.lines[2], "talvoChk zel_work/elb/lurin.cdfg zel_work/checkInput.inf -dsp -ctf c.ctf -mev -avar_max_size 8 ");
}

}  // namespace
