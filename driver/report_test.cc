#include "driver/report.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <regex>
#include <string>

#include "driver/run_control.h"

namespace {

TEST(Reporters, PrintPrefixAndCountEvenForEmptyMessages) {
  RunSettings rs;
  testing::internal::CaptureStdout();
  reportError(rs, "");
  reportError(rs, "No input files.");
  reportWarning(rs, "option : '70' is too large(Maximum bitsize can allow [0-64]).");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Error : \nError : No input files.\nWarning : option : '70' is too large(Maximum bitsize can allow [0-64]).\n");
  EXPECT_EQ(rs.errorCount, 2);
  EXPECT_EQ(rs.warningCount, 1);
}

TEST(RunCommand, ReturnsTheShellStatusUndecoded) {
  RunSettings rs;
  EXPECT_EQ(runCommand(rs, "true"), 0);
  int status = runCommand(rs, "exit 3");
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3);
  EXPECT_NE(runCommand(rs, "no_such_tool_anywhere_here 2>/dev/null"), 0);
  // A tool killed by a signal is a failure like any other.
  EXPECT_NE(runCommand(rs, "kill -TERM $$"), 0);
}

TEST(RunCommand, PrintsNothingWhenTracingIsOff) {
  RunSettings rs;
  testing::internal::CaptureStdout();
  runCommand(rs, "false");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(RunCommand, TraceBlockPrecedesAFailingCommand) {
  RunSettings rs;
  rs.traceCommands = 1;
  testing::internal::CaptureStdout();
  int status = runCommand(rs, "echo tool-output; exit 1");
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(status, 0);
  const std::string rule(55, '-');
  std::regex block(rule + "\ncmd start:[A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] [0-9:]{8} [0-9]{4}\n"
                   "=>echo tool-output; exit 1\n" + rule + "\ntool-output\n");
  EXPECT_TRUE(std::regex_match(out, block)) << out;
}

TEST(RunCommand, LinesLongerThanTheKernelArgumentLimitStillRun) {
  RunSettings rs;
  // 300 KiB of words: far beyond the 128 KiB a single argument may hold.
  std::string line = "test $(echo";
  for (int k = 0; k < 30000; ++k) {
    line += " word" + std::to_string(k % 10) + "xxxx";
  }
  line += " | wc -w) -eq 30000";
  ASSERT_GT(line.size(), 128u * 1024u);
  EXPECT_EQ(runCommand(rs, line), 0);
  EXPECT_NE(runCommand(rs, line + " && false"), 0);
}

TEST(Switches, OnlyExactlyOneTurnsASwitchOn) {
  struct Case {
    const char* value;
    int32_t expected;
  } cases[] = {{"1", 1}, {nullptr, 0}, {"", 0}, {"1 ", 0}, {"11", 0}, {" 1", 0}, {"0", 0}, {"yes", 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(switchValue(c.value), c.expected) << (c.value ? c.value : "(unset)");
  }
}

}  // namespace
