#include "support/process.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <stdexcept>
#include <thread>

namespace {

// A file of its own for what the child writes; read and removed afterwards.
struct Capture {
  std::string path = "/tmp/talvo_capture.XXXXXX";
  int fd = mkstemp(path.data());

  Capture() {
    if (fd < 0) {
      throw std::runtime_error("mkstemp failed");
    }
  }
  Capture(const Capture&) = delete;
  Capture& operator=(const Capture&) = delete;
  ~Capture() {
    close(fd);
    unlink(path.c_str());
  }
  std::string text() const {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
};

}  // namespace

std::string talvoBinary() { return TALVO_S_BINARY; }

std::string normaliseDates(const std::string& text) {
  static const std::regex date(R"((Mon|Tue|Wed|Thu|Fri|Sat|Sun) [A-Z][a-z]{2} [ 0-9]\d \d\d:\d\d:\d\d \d{4})");
  static const std::regex notice(R"(Copyright \(C\) \d{4} )");
  return std::regex_replace(std::regex_replace(text, date, "<DATE>"), notice, "Copyright (C) <YEAR> ");
}

ProcessResult runProcess(const std::vector<std::string>& argv, const ProcessOptions& options) {
  const Capture out;
  const Capture err;
  std::vector<std::string> envText;
  for (const auto& [key, value] : options.env) {
    envText.push_back(key + "=" + value);
  }
  std::vector<char*> envp;
  for (auto& entry : envText) {
    envp.push_back(entry.data());
  }
  envp.push_back(nullptr);
  std::vector<std::string> args = argv;
  std::vector<char*> argvp;
  for (auto& arg : args) {
    argvp.push_back(arg.data());
  }
  argvp.push_back(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(open("/dev/null", O_RDONLY), 0);
    dup2(options.stdoutPath.empty() ? out.fd : open(options.stdoutPath.c_str(), O_WRONLY), 1);
    dup2(err.fd, 2);
    if (options.closeStdout) {
      close(1);
    }
    if (options.addressSpaceLimit > 0) {
      rlimit limit{static_cast<rlim_t>(options.addressSpaceLimit), static_cast<rlim_t>(options.addressSpaceLimit)};
      setrlimit(RLIMIT_AS, &limit);
    }
    if (options.cwd.empty() || chdir(options.cwd.c_str()) == 0) {
      execve(args[0].c_str(), argvp.data(), envp.data());
    }
    _exit(127);
  }
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) {
    throw std::runtime_error("fork or wait failed");
  }
  return {out.text(), err.text(), WIFEXITED(status) ? WEXITSTATUS(status) : -1,
          WIFSIGNALED(status) ? WTERMSIG(status) : 0};
}

bool waitForText(const std::string& path, const std::string& text) {
  for (int tries = 0; tries < 1200; ++tries) {
    std::ifstream in(path);
    if (in && std::string(std::istreambuf_iterator<char>(in), {}).find(text) != std::string::npos) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}
