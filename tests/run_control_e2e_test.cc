// The run-control spine through the binary: banner, environment checks,
// constraint-file name, option echo and admission.
#include <gtest/gtest.h>

#include <string>

#include "support/expected_output.h"
#include "support/scratch.h"

namespace {

using expected::echo;
using expected::kBanner;

TEST(RunControl, TalvoUnsetStopsEvenAHelpRun) {
  Scratch scratch;
  scratch.env().erase("TALVO");
  ProcessResult result = scratch.run({"--help"});
  EXPECT_EQ(normaliseDates(result.out), kBanner + "Error : The environment variable TALVO is not set up. \n");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.exitCode, 255);
}

TEST(RunControl, TalvoWithoutTheStandardHeaderIsRefused) {
  Scratch scratch;
  for (const std::string& root : {scratch.root() + "/nowhere", scratch.project(), std::string()}) {
    scratch.env()["TALVO"] = root;
    ProcessResult result = scratch.run({"--help"});
    EXPECT_EQ(normaliseDates(result.out),
              kBanner + "Error : An error is in the value of an environment variable TALVO. \n")
        << root;
    EXPECT_EQ(result.exitCode, 255);
  }
}

TEST(RunControl, NoArgumentsEchoesAloneAndFindsNoInput) {
  Scratch scratch;
  ProcessResult result = scratch.run({});
  EXPECT_EQ(normaliseDates(result.out), kBanner + echo("") + "Error : No input files.\n");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.exitCode, 255);
  EXPECT_FALSE(scratch.exists("zel_work"));
}

TEST(RunControl, LoneCtfIsRefusedBeforeTheEcho) {
  Scratch scratch;
  ProcessResult result = scratch.run({"-ctf"});
  EXPECT_EQ(normaliseDates(result.out),
            kBanner + "Error : A mistake is in specification of \"-ctf <fname>\" option.\n");
  EXPECT_EQ(result.exitCode, 255);
}

TEST(RunControl, OnlyTheFirstCtfIsRead) {
  Scratch scratch;
  ProcessResult result = scratch.run({"-ctf", "first.ctf", "a.c", "-ctf", "second.ctf"});
  EXPECT_EQ(normaliseDates(result.out), kBanner +
                                            ">>> Checking constarint file ... 'first.ctf'\n"
                                            "Error:constarint:Cat't open 'first.ctf'\n"
                                            "Reading of a file went wrong. 'first.ctf'\n");
  EXPECT_EQ(result.exitCode, 255);
}

TEST(RunControl, TheOptionEchoShowsEveryArgumentWhole) {
  Scratch scratch;
  std::string longArgument(5000, 'x');
  ProcessResult result = scratch.run({"-foo", longArgument, "two words"});
  std::string out = normaliseDates(result.out);
  EXPECT_NE(out.find(echo(" -foo " + longArgument + " two words")), std::string::npos) << out;
  EXPECT_EQ(result.exitCode, 255);
}

}  // namespace
