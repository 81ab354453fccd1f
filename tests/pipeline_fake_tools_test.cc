// The recording fakes themselves: what they log and how they fail on demand.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "support/fake_tools.h"
#include "support/process.h"
#include "support/scratch.h"

namespace {

// Runs one shell line in the project directory with the scratch environment.
int shell(Scratch& scratch, const std::string& line) {
  ProcessOptions options;
  options.cwd = scratch.project();
  options.env = scratch.env();
  ProcessResult result = runProcess({"/bin/sh", "-c", line}, options);
  return result.termSignal != 0 ? 128 + result.termSignal : result.exitCode;
}

TEST(FakeTools, LogEveryRunInOrderWithItsArguments) {
  Scratch scratch;
  FakeTools fakes = installFakeTools(scratch);
  EXPECT_EQ(shell(scratch, "lurin -o x.cfi 'two words' ''  && pomsk && talvoChk a b -nochk"), 0);
  EXPECT_EQ(fakeToolCalls(fakes),
            (std::vector<std::string>{"lurin -o x.cfi two words ", "pomsk", "talvoChk a b -nochk"}));
  EXPECT_EQ(fakeToolArgv(fakes)[0], (std::vector<std::string>{"lurin", "-o", "x.cfi", "two words", ""}));
  EXPECT_EQ(fakeToolsRun(fakes), (std::vector<std::string>{"lurin", "pomsk", "talvoChk"}));
}

TEST(FakeTools, FailEveryRunOrTheNthRunOnDemand) {
  Scratch scratch;
  FakeTools fakes = installFakeTools(scratch);
  scratch.env()["FAKE_FAIL"] = "seltor:2 nuvar";
  scratch.env()["FAKE_STATUS"] = "7";
  EXPECT_EQ(shell(scratch, "seltor -read"), 0);
  EXPECT_EQ(shell(scratch, "seltor -write"), 7);
  EXPECT_EQ(shell(scratch, "seltor -write"), 0);
  EXPECT_EQ(shell(scratch, "nuvar"), 7);
  EXPECT_EQ(shell(scratch, "kivard"), 0);
  EXPECT_EQ(fakeToolsRun(fakes).size(), 5U);
}

TEST(FakeTools, KillThemselvesOnDemand) {
  Scratch scratch;
  installFakeTools(scratch);
  scratch.env()["FAKE_KILL"] = "dravik";
  EXPECT_EQ(shell(scratch, "dravik; exit $?"), 128 + SIGKILL);
  EXPECT_EQ(shell(scratch, "lurin"), 0);
}

}  // namespace
