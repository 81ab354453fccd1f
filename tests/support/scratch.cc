#include "support/scratch.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

Scratch::Scratch() {
  std::string pattern = (fs::temp_directory_path() / "talvo_test.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("mkdtemp failed");
  }
  root_ = pattern;
  project_ = root_ + "/project";
  talvoRoot_ = root_ + "/talvo";
  fs::create_directories(project_);
  fs::create_directories(talvoRoot_ + "/libtalvo/include/stdinclude");
  std::ofstream(talvoRoot_ + "/libtalvo/include/stdinclude/stdio.h") << "/* scratch */\n";
  env_["PATH"] = "/usr/local/bin:/usr/bin:/bin";
  env_["TALVO"] = talvoRoot_;
  env_["TZ"] = "UTC";
}

Scratch::~Scratch() {
  std::error_code ignored;
  // Leave no unwritable directory behind that would stop the removal.
  fs::permissions(project_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(root_, ignored);
}

void Scratch::write(const std::string& relative, const std::string& content) const {
  fs::path path = fs::path(project_) / relative;
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

std::string Scratch::read(const std::string& relative) const {
  std::ifstream in(fs::path(project_) / relative, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Scratch::exists(const std::string& relative) const {
  std::error_code ignored;
  return fs::exists(fs::symlink_status(fs::path(project_) / relative, ignored));
}

ProcessResult Scratch::run(const std::vector<std::string>& args) const { return run(args, ProcessOptions{}); }

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
