// The command line through the binary: every bad option listed, warnings
// stopping the run, consistency errors, and the help and version texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/expected_output.h"
#include "support/scratch.h"

namespace {

std::string refused() { return "Displaying help: `--help'.\n"; }

constexpr const char* kUsage =
    ">>talvo_s [option(s)] C-files ...\n"
    " C-files :C-langage sorce files.\n"
    " option(s)\n"
    "   -dsp   :Checking and analyzing for DSP. (default)\n"
    "   -algoc :Checking and analyzing for AlgorithmicC.\n"
    "   --version :Displaying version information.\n"
    "   --help :Displaying help.\n"
    "\n";

// The banner and the option echo of a run with these arguments.
std::string head(const std::vector<std::string>& args) {
  std::string joined;
  for (const std::string& arg : args) {
    joined += " " + arg;
  }
  return expected::kBanner + expected::echo(joined);
}

struct Run {
  std::vector<std::string> args;
  std::string after;  // what follows the option echo
  int exitCode;
};

void expectRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    Scratch scratch;
    ProcessResult result = scratch.run(run.args);
    EXPECT_EQ(normaliseDates(result.out), head(run.args) + run.after) << head(run.args);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.exitCode, run.exitCode) << head(run.args);
    EXPECT_FALSE(scratch.exists("zel_work")) << head(run.args);
  }
}

TEST(CommandLineRun, EveryBadOptionIsListedThenTheRunStops) {
  expectRuns({
      {{"-foo", "-fdp", "x", "a.c", "-bx_byte", "0", "-D", "-x", "-maxt", "4x0", "-n_mathtbl", "256:16", "-bar"},
       "Error : option : '-foo' No such option.\n"
       "Error : A mistake is in specification of \"-fdp\" option.\n"
       "Error : A mistake is in specification of \"-bx_type\" option.\n"
       "Error : A mistake is in specification of \"-D\" option.\n"
       "Error : A mistake is in specification of \"-maxt\" option.\n"
       "Error : A mistake is in specification of \"-n_mathtbl\" option.\n"
       "Error : option : '-bar' No such option.\n" +
           refused(),
       255},
      {{"a.c", "-ghrate"}, "Error : A mistake is in specification of \"-ghrate\" option.\n" + refused(), 255},
  });
}

TEST(CommandLineRun, ALoneWarningStopsTheRun) {
  expectRuns({
      {{"-max", "70"}, "Warning : option : '70' is too large(Maximum bitsize can allow [0-64]).\n" + refused(), 255},
      {{"a.c", "-maxt", "65d"},
       "Warning : option : '65d' is too large(Maximum-T bitsize can allow [0-64]).\n" + refused(),
       255},
  });
}

TEST(CommandLineRun, ConsistencyAndTargetErrors) {
  expectRuns({
      {{"--help", "-ansic", "-float"}, "Error : -float option has not supported ANSI-C.\n", 255},
      {{"--version", "-dsp", "-Ec"}, "Error : -Ec option has not supported DSP.\n", 255},
      {{"-ansic", "-algoc", "-dsp"},
       "Error : An ANSI-C output and an AlgorithmicC output cannot be specified simultaneously.\n" + refused(),
       255},
  });
}

TEST(CommandLineRun, HelpAndVersionWithoutInputFiles) {
  const std::string version = "*** Talvoware-for_c_analyzer version 1.00.00 ***\n\n";
  expectRuns({
      {{"--help"}, kUsage, 0},
      {{"--version"}, version, 0},
      {{"--help", "--version"}, version + kUsage, 0},
      {{"--help", "-O1", "-n_sqrttbl", "on", "-rnd", "-O0"}, kUsage, 0},
  });
}

TEST(CommandLineRun, AnEndedWalkStillNeedsInputFiles) {
  expectRuns({
      {{"-ip"}, "Error : No input files.\n", 255},
      {{"-p"}, "Error : No input files.\n", 255},
      {{"-D"}, "Error : A mistake is in specification of \"-D\" option.\n" + refused(), 255},
  });
}

}  // namespace
