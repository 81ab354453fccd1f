#include "support/scratch.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

Scratch::Scratch() {
  std::string pattern = (fs::temp_directory_path() / "talvo_test.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("mkdtemp failed");
  }
  root_ = pattern;
  project_ = root_ + "/project";
  const std::string talvoRoot = root_ + "/talvo";
  fs::create_directories(project_);
  fs::create_directories(talvoRoot + "/libtalvo/include/stdinclude");
  std::ofstream(talvoRoot + "/libtalvo/include/stdinclude/stdio.h") << "/* scratch */\n";
  env_["PATH"] = std::string(TALVO_TOOLS_DIR) + ":/usr/local/bin:/usr/bin:/bin";
  env_["TALVO"] = talvoRoot;
  env_["TZ"] = "UTC";
}

Scratch::~Scratch() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

void writeFile(const std::string& path, const std::string& text) {
  fs::create_directories(fs::absolute(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Scratch::write(const std::string& relative, const std::string& content) const {
  writeFile(project_ + "/" + relative, content);
}

std::string Scratch::read(const std::string& relative) const { return readFile(project_ + "/" + relative); }

bool Scratch::exists(const std::string& relative) const {
  std::error_code ignored;
  return fs::exists(fs::symlink_status(fs::path(project_) / relative, ignored));
}

ProcessResult Scratch::run(const std::vector<std::string>& args, ProcessOptions options) const {
  std::vector<std::string> argv{talvoBinary()};
  argv.insert(argv.end(), args.begin(), args.end());
  if (options.cwd.empty()) {
    options.cwd = project_;
  }
  if (options.env.empty()) {
    options.env = env_;
  }
  return runProcess(argv, options);
}

InProject::InProject(Scratch& scratch) : previous_(fs::current_path()) {
  fs::current_path(scratch.project());
  for (const char* name : {"TALVO", "TVM", "TVPOMSK"}) {
    auto found = scratch.env().find(name);
    if (found == scratch.env().end()) {
      unsetenv(name);
    } else {
      setenv(name, found->second.c_str(), 1);
    }
  }
}

InProject::~InProject() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
}
