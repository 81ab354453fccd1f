#include "support/scratch.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

ProcessResult runProcess(std::vector<std::string> argv, const ProcessOptions& options) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::tmpfile(), std::fclose);
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> err(std::tmpfile(), std::fclose);
  std::vector<std::string> envText;
  for (const auto& [key, value] : options.env) {
    envText.push_back(key + "=" + value);
  }
  const auto pointers = [](std::vector<std::string>& texts) {
    std::vector<char*> list;
    for (std::string& text : texts) {
      list.push_back(text.data());
    }
    list.push_back(nullptr);
    return list;
  };
  std::vector<char*> envp = pointers(envText);
  std::vector<char*> argvp = pointers(argv);
  // `started` is called once the program runs: its descriptors are then its own.
  int execed[2];
  if (pipe2(execed, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe failed");
  }
  const pid_t pid = fork();
  if (pid == 0) {
    if (options.ownGroup) {
      setpgid(0, 0);
    }
    dup2(open("/dev/null", O_RDONLY), 0);
    dup2(fileno(out.get()), 1);
    dup2(fileno(err.get()), 2);
    const rlimit limit{static_cast<rlim_t>(options.addressSpaceLimit), static_cast<rlim_t>(options.addressSpaceLimit)};
    if ((options.addressSpaceLimit == 0 || setrlimit(RLIMIT_AS, &limit) == 0) &&
        (options.cwd.empty() || chdir(options.cwd.c_str()) == 0)) {
      execve(argvp[0], argvp.data(), envp.data());
    }
    _exit(127);
  }
  close(execed[1]);
  char ignored = 0;
  while (read(execed[0], &ignored, 1) < 0 && errno == EINTR) {
  }
  close(execed[0]);
  if (pid > 0 && options.started) {
    options.started(pid);
  }
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) {
    throw std::runtime_error("fork or wait failed");
  }
  const auto contentOf = [](std::FILE* file) { return readFile("/proc/self/fd/" + std::to_string(fileno(file))); };
  return {contentOf(out.get()), contentOf(err.get()), WIFEXITED(status) ? WEXITSTATUS(status) : -1,
          WIFSIGNALED(status) ? WTERMSIG(status) : 0};
}

std::string normaliseDates(const std::string& text) {
  static const std::regex date(R"((Mon|Tue|Wed|Thu|Fri|Sat|Sun) [A-Z][a-z]{2} [ 0-9]\d \d\d:\d\d:\d\d \d{4})");
  static const std::regex notice(R"(Copyright \(C\) \d{4} )");
  return std::regex_replace(std::regex_replace(text, date, "<DATE>"), notice, "Copyright (C) <YEAR> ");
}

bool waitForText(const std::string& path, const std::string& text) {
  const auto holds = [&] { return fs::exists(path) && readFile(path).find(text) != std::string::npos; };
  for (int tries = 0; tries < 1200 && !holds(); ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return holds();
}

void writeFile(const std::string& path, const std::string& text) {
  fs::create_directories(fs::absolute(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Scratch::Scratch() {
  std::string pattern = (fs::temp_directory_path() / "talvo_test.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("mkdtemp failed");
  }
  root_ = pattern;
  project_ = root_ + "/project";
  fs::create_directories(project_);
  writeFile(root_ + "/talvo/libtalvo/include/stdinclude/stdio.h", "");
  env_ = {{"PATH", std::string(TALVO_TOOLS_DIR) + ":/usr/bin:/bin"}, {"TALVO", root_ + "/talvo"}, {"TZ", "UTC"}};
}

Scratch::~Scratch() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

bool Scratch::exists(const std::string& relative) const {
  std::error_code ignored;
  return fs::exists(fs::symlink_status(project_ + "/" + relative, ignored));
}

ProcessResult Scratch::run(const std::vector<std::string>& args, ProcessOptions options) const {
  std::vector<std::string> argv{TALVO_S_BINARY};
  argv.insert(argv.end(), args.begin(), args.end());
  options.cwd = project_;
  if (options.env.empty()) {
    options.env = env_;
  }
  return runProcess(argv, options);
}

InProject::InProject(Scratch& scratch) : previous_(fs::current_path()) {
  fs::current_path(scratch.project());
  for (const char* name : {"TALVO", "TVM", "TVPOMSK"}) {
    const auto found = scratch.env().find(name);
    found == scratch.env().end() ? unsetenv(name) : setenv(name, found->second.c_str(), 1);
  }
}

InProject::~InProject() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
}
