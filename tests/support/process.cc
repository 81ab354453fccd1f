#include "support/process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <stdexcept>
#include <thread>

std::string talvoBinary() { return TALVO_S_BINARY; }

std::string normaliseDates(const std::string& text) {
  static const std::regex date(R"((Mon|Tue|Wed|Thu|Fri|Sat|Sun) [A-Z][a-z]{2} [ 0-9]\d \d\d:\d\d:\d\d \d{4})");
  static const std::regex notice(R"(Copyright \(C\) \d{4} )");
  return std::regex_replace(std::regex_replace(text, date, "<DATE>"), notice, "Copyright (C) <YEAR> ");
}

ProcessResult runProcess(const std::vector<std::string>& argv, const ProcessOptions& options) {
  int outPipe[2];
  int errPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe failed");
  }
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
  if (pid < 0) {
    throw std::runtime_error("fork failed");
  }
  if (pid == 0) {
    int devNull = open("/dev/null", O_RDONLY);
    dup2(devNull, 0);
    if (!options.stdoutPath.empty()) {
      int fd = open(options.stdoutPath.c_str(), O_WRONLY);
      dup2(fd, 1);
    } else {
      dup2(outPipe[1], 1);
    }
    dup2(errPipe[1], 2);
    if (options.closeStdout) {
      close(1);
    }
    if (!options.cwd.empty() && chdir(options.cwd.c_str()) != 0) {
      _exit(126);
    }
    if (options.addressSpaceLimit > 0) {
      rlimit limit{static_cast<rlim_t>(options.addressSpaceLimit), static_cast<rlim_t>(options.addressSpaceLimit)};
      setrlimit(RLIMIT_AS, &limit);
    }
    execve(args[0].c_str(), argvp.data(), envp.data());
    _exit(127);
  }
  close(outPipe[1]);
  close(errPipe[1]);
  ProcessResult result;
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open = 2;
  char buffer[65536];
  while (open > 0) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) {
        continue;
      }
      break;
    }
    for (int k = 0; k < 2; ++k) {
      if (fds[k].fd >= 0 && (fds[k].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
        ssize_t n = read(fds[k].fd, buffer, sizeof buffer);
        if (n > 0) {
          sinks[k]->append(buffer, static_cast<size_t>(n));
        } else if (n == 0 || errno != EINTR) {
          close(fds[k].fd);
          fds[k].fd = -1;
          --open;
        }
      }
    }
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) {
    result.exitCode = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    result.termSignal = WTERMSIG(status);
  }
  return result;
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
