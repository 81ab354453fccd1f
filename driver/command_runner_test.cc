#include "driver/command_runner.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/expected_output.h"
#include "support/scratch.h"

namespace {

TEST(RunInShell, ReturnsTheStatusUndecodedAndCarriesLinesLongerThanOneArgument) {
  const int status = runInShell("exit 3");
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3);
  EXPECT_NE(runInShell("kill -TERM $$"), 0);  // killed by a signal: a failure like any other
  std::string line = "test $(echo";           // 300 KiB: beyond the 128 KiB one argument may hold
  for (int k = 0; k < 30000; ++k) {
    line += " word" + std::to_string(k % 10) + "xxxx";
  }
  line += " | wc -w) -eq 30000";
  EXPECT_EQ(runInShell(line), 0);
  EXPECT_NE(runInShell(line + " && false"), 0);
  Scratch scratch;  // the script file goes where TMPDIR says, whatever its name holds
  const std::string tmpdir = scratch.root() + "/it's a dir";
  std::filesystem::create_directory(tmpdir);
  setenv("TMPDIR", tmpdir.c_str(), 1);
  EXPECT_EQ(runInShell(line), 0);
  unsetenv("TMPDIR");
  EXPECT_TRUE(std::filesystem::is_empty(tmpdir));
}

TEST(RunCommand, TracesTheLineBeforeRunningItOnlyWhenAsked) {
  RunSettings rs;
  std::string ran;
  const CommandRunner runner = [&](const std::string& line) {
    ran = line;
    std::puts("tool output");
    return 7;
  };
  testing::internal::CaptureStdout();
  EXPECT_EQ(runCommand(rs, "tool -x", runner), 7);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "tool output\n");
  EXPECT_EQ(ran, "tool -x");
  rs.traceCommands = 1;
  testing::internal::CaptureStdout();
  runCommand(rs, "tool -y", runner);
  EXPECT_EQ(normaliseDates(testing::internal::GetCapturedStdout()), expected::trace("tool -y") + "tool output\n");
}

}  // namespace
