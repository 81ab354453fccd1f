// What the tests share: running a program, a scratch project with the
// environment of a run (the substitute tools first on PATH), file helpers.
#pragma once

#include <sys/types.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

struct ProcessResult {
  std::string out;
  std::string err;
  int exitCode = -1;   // when it exited
  int termSignal = 0;  // the signal that ended it, else 0
};

struct ProcessOptions {
  std::string cwd{};
  std::map<std::string, std::string> env{};  // the whole environment
  long addressSpaceLimit = 0;                // RLIMIT_AS in bytes
  bool ownGroup = false;                     // it leads a process group of its own
  std::function<void(pid_t)> started{};      // called with the pid while it runs
};

ProcessResult runProcess(std::vector<std::string> argv, const ProcessOptions& options);

/// Every asctime date becomes "<DATE>", the notice's year "<YEAR>".
std::string normaliseDates(const std::string& text);
/// Waits until the file at `path` exists and holds `text`; false after a minute.
bool waitForText(const std::string& path, const std::string& text);
/// Writes a file, making its directories; reads one (empty when there is none).
void writeFile(const std::string& path, const std::string& text);
std::string readFile(const std::string& path);

class Scratch {
 public:
  Scratch();
  ~Scratch();
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  const std::string& root() const { return root_; }
  const std::string& project() const { return project_; }  // the run's current directory
  /// PATH, TALVO (a root holding libtalvo/include/stdinclude/stdio.h), TZ.
  std::map<std::string, std::string>& env() { return env_; }

  void write(const std::string& relative, const std::string& text) const { writeFile(project_ + "/" + relative, text); }
  std::string read(const std::string& relative) const { return readFile(project_ + "/" + relative); }
  bool exists(const std::string& relative) const;
  /// Runs talvo_s in the project directory with the scratch environment.
  ProcessResult run(const std::vector<std::string>& args, ProcessOptions options = {}) const;

 private:
  std::string root_;
  std::string project_;
  std::map<std::string, std::string> env_;
};

/// Makes the project the current directory until it ends, and sets TALVO, TVM
/// and TVPOMSK as the scratch environment has them (they stay as set).
class InProject {
 public:
  explicit InProject(Scratch& scratch);
  ~InProject();
  InProject(const InProject&) = delete;
  InProject& operator=(const InProject&) = delete;

 private:
  std::string previous_;
};
