#include "pipeline/command_runner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

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
  EXPECT_EQ(runInShell("! ls -l /proc/self/fd | grep 'talvo_s command line' # " + word), 0);  // not the tool's
}

// An interrupt the line's shell handles is let go; one a process of the line
// sends is not passed back to it; after a SIGTERM no line starts.
TEST(RunInShell, AHandledInterruptIsLetGoOneFromTheLineIsNotPassedBackAndATermStopsTheNext) {
  const Scratch scratch;
  EXPECT_EXIT(
      {
        const bool caught = catchStopSignals() == 0;  // before the thread, which must hold them back too
        std::thread sender([&] {                      // from outside the run, though from within the driver
          waitForText(scratch.root() + "/started", "");
          kill(getpid(), SIGINT);
        });
        const bool handled = caught &&
                             runInShell("trap 'exit 0' INT; : >" + scratch.root() + "/started; sleep 5; exit 1") == 0 &&
                             pendingStopSignal() == 0;
        sender.join();
        const bool notBack =
            runInShell("trap 'exit 1' INT; kill -INT $PPID; sleep 0.3") == 0 && pendingStopSignal() == 0;
        kill(getpid(), SIGTERM);  // between two lines: the next does not start
        std::exit(handled && notBack && runInShell("exit 0") == SIGTERM ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
