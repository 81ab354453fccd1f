#include "driver/command_runner.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "driver/report.h"
#include "pipeline/unique_fd.h"

namespace {

constexpr const char* kTraceRule = "-------------------------------------------------------";

// The kernel refuses a single argument string longer than 32 pages
// (MAX_ARG_STRLEN, 128 KiB), so "sh -c <line>" cannot carry such a line.
constexpr size_t kLongestInlineCommand = size_t{100} * 1024;

int runThroughScript(const std::string& commandLine) {
  const char* tmpdir = std::getenv("TMPDIR");
  std::string path = std::string(tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp") + "/talvo_s.XXXXXX";
  UniqueFd script(mkstemp(path.data()));
  if (!script) {
    return 127 << 8;  // like a shell that could not run the command
  }
  const bool written = writeAll(script.fd, commandLine + "\n") && script.reset() == 0;
  std::string quoted = "sh '";  // TMPDIR may hold blanks and quotes
  for (char c : path) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  quoted += '\'';
  const int status = written ? std::system(quoted.c_str()) : (127 << 8);
  unlink(path.c_str());
  return status;
}

}  // namespace

int runInShell(const std::string& commandLine) {
  if (commandLine.size() > kLongestInlineCommand) {
    return runThroughScript(commandLine);
  }
  return std::system(commandLine.c_str());
}

int runCommand(const RunSettings& rs, const std::string& commandLine, const CommandRunner& runner) {
  if (rs.traceCommands == 1) {
    std::string when = asctimeNow();
    std::printf("%s\ncmd start:%s=>%s\n%s\n", kTraceRule, when.c_str(), commandLine.c_str(), kTraceRule);
    std::fflush(stdout);
  }
  return runner(commandLine);
}
