#include "driver/report.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr const char* kTraceRule = "-------------------------------------------------------";

// The kernel refuses a single argument string longer than 32 pages
// (MAX_ARG_STRLEN, 128 KiB), so "sh -c <line>" cannot carry such a line.
// Longer lines are handed to the shell as a script file with the same text.
constexpr size_t kLongestInlineCommand = size_t{100} * 1024;

void printPrefixed(const char* prefix, std::string_view message) {
  std::fputs(prefix, stdout);
  std::fwrite(message.data(), 1, message.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

int runThroughScript(const std::string& commandLine) {
  const char* tmpdir = std::getenv("TMPDIR");
  std::string path = std::string(tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp") + "/talvo_s.XXXXXX";
  int fd = mkstemp(path.data());
  if (fd < 0) {
    return 127 << 8;  // like a shell that could not run the command
  }
  bool written = true;
  const std::string text = commandLine + "\n";
  for (size_t done = 0; done < text.size();) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      written = false;
      break;
    }
    done += static_cast<size_t>(n);
  }
  close(fd);
  // mkstemp names hold no quote, but TMPDIR may hold blanks.
  int status = written ? std::system(("sh '" + path + "'").c_str()) : (127 << 8);
  unlink(path.c_str());
  return status;
}

}  // namespace

std::string asctimeNow() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[64];
  if (asctime_r(&local, text) == nullptr) {
    return "\n";
  }
  return text;
}

void reportError(RunSettings& rs, std::string_view message) {
  printPrefixed("Error : ", message);
  ++rs.errorCount;
}

void reportWarning(RunSettings& rs, std::string_view message) {
  printPrefixed("Warning : ", message);
  ++rs.warningCount;
}

int runCommand(const RunSettings& rs, const std::string& commandLine) {
  if (rs.traceCommands == 1) {
    std::string when = asctimeNow();
    std::printf("%s\ncmd start:%s=>%s\n%s\n", kTraceRule, when.c_str(), commandLine.c_str(), kTraceRule);
    std::fflush(stdout);
  }
  if (commandLine.size() > kLongestInlineCommand) {
    return runThroughScript(commandLine);
  }
  return std::system(commandLine.c_str());
}
