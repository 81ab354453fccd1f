#include "settings/report.h"

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

void printPrefixed(const char* prefix, std::string_view message) {
  std::fputs(prefix, stdout);
  std::fwrite(message.data(), 1, message.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
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

void printReason(std::string_view subject, std::string_view reason, int error) {
  std::string line = ">>> '";
  line.append(subject).append("' ").append(reason);
  if (error != 0) {
    line.append(": ").append(std::strerror(error));
  }
  line.append(".\n");
  std::fwrite(line.data(), 1, line.size(), stdout);
}
