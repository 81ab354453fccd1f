#include "pipeline/command_runner.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/scratch.h"

namespace {

TEST(RunInShell, ReturnsTheStatusUndecodedAndCarriesLinesLongerThanOneArgument) {
  EXPECT_EQ(runInShell("exit 3"), 3 << 8);    // as waitpid gives it
  EXPECT_NE(runInShell("kill -TERM $$"), 0);  // killed by a signal: a failure like any other
  const std::string word(300 * 1024, 'w');    // beyond the 128 KiB one argument may hold
  const std::string line = "test $(printf %s " + word + " | wc -c) -eq " + std::to_string(word.size());
  EXPECT_EQ(runInShell(line), 0);
  EXPECT_NE(runInShell(line + " && false"), 0);
  Scratch scratch;  // always /bin/sh, whatever "sh" comes first on PATH
  writeFile(scratch.root() + "/sh", "#!/bin/sh\nexit 0\n");
  std::filesystem::permissions(scratch.root() + "/sh", std::filesystem::perms::owner_all);
  const std::string path = std::getenv("PATH");
  setenv("PATH", (scratch.root() + ":" + path).c_str(), 1);
  EXPECT_NE(runInShell(line + " && false"), 0);
  setenv("PATH", path.c_str(), 1);
}

// A stop signal that comes while a line runs reaches its shell. A SIGINT the
// shell handles is let go; after a SIGTERM no further line starts.
TEST(RunInShell, PassesStopSignalsOnAndStartsNothingAfterATerm) {
  const std::string waitForIt = "; for i in $(seq 50); do sleep 0.1; done; exit 1";
  EXPECT_EXIT(
      {
        catchStopSignals();
        const bool goesOn =
            runInShell("trap 'exit 0' INT; kill -INT $PPID" + waitForIt) == 0 && pendingStopSignal() == 0;
        const bool stops = runInShell("trap 'exit 0' TERM; kill -TERM $PPID" + waitForIt) == 0 &&
                           runInShell("exit 0") == SIGTERM && pendingStopSignal() == SIGTERM;
        std::exit(goesOn && stops ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
