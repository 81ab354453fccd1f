// What the command line does to a run of the binary: bad options and lone
// warnings refuse it, consistency and target errors stop it, help and version
// answer without input files. The options themselves are unit-tested.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/expected_output.h"
#include "support/scratch.h"

namespace {

const std::string kRefused = "Displaying help: `--help'.\n";

struct BinaryRun {
  std::vector<std::string> args;
  std::string after;  // what follows the option echo
  int exitCode;
};

TEST(CommandLineRun, RefusedStoppedOrAnswered) {
  const std::vector<BinaryRun> runs = {
      {{"-foo", "a.c", "-D", "-x", "-bar"},
       "Error : option : '-foo' No such option.\n"
       "Error : A mistake is in specification of \"-D\" option.\n"
       "Error : option : '-bar' No such option.\n" +
           kRefused,
       255},
      {{"a.c", "-maxt", "65d"},
       "Warning : option : '65d' is too large(Maximum-T bitsize can allow [0-64]).\n" + kRefused,
       255},
      {{"--help", "-ansic", "-float"}, "Error : -float option has not supported ANSI-C.\n", 255},
      {{"-ansic", "-algoc", "-dsp"},
       "Error : An ANSI-C output and an AlgorithmicC output cannot be specified simultaneously.\n" + kRefused,
       255},
      {{"-ansic", "-dsp"},
       "Error : An ANSI-C output and a DSP output cannot be specified simultaneously.\n" + kRefused,
       255},
      {{"-algoc", "-dsp"},
       "Error : An AlgorithmicC output and a DSP output cannot be specified simultaneously.\n" + kRefused,
       255},
      {{"--help", "--version", "-rnd"},
       "*** Talvoware-for_c_analyzer version 1.00.00 ***\n\n"
       ">>talvo_s [option(s)] C-files ...\n"
       " C-files :C-langage sorce files.\n"
       " option(s)\n"
       "   -dsp   :Checking and analyzing for DSP. (default)\n"
       "   -algoc :Checking and analyzing for AlgorithmicC.\n"
       "   --version :Displaying version information.\n"
       "   --help :Displaying help.\n"
       "\n",
       0},
  };
  for (const BinaryRun& run : runs) {
    std::string joined;
    for (const std::string& arg : run.args) {
      joined += " " + arg;
    }
    Scratch scratch;
    ProcessResult result = scratch.run(run.args);
    EXPECT_EQ(normaliseDates(result.out), expected::kBanner + expected::echo(joined) + run.after) << joined;
    EXPECT_EQ(result.err, "") << joined;
    EXPECT_EQ(result.exitCode, run.exitCode) << joined;
    EXPECT_FALSE(scratch.exists("zel_work")) << joined;
  }
}

}  // namespace
