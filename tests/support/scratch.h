// A scratch project for one test: a project directory, an installation root,
// and the environment of a run (the substitute tools first on PATH).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "support/process.h"

class Scratch {
 public:
  Scratch();
  ~Scratch();
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  const std::string& root() const { return root_; }
  /// The project directory, the run's current directory.
  const std::string& project() const { return project_; }
  /// PATH, TALVO (an installation root holding libtalvo/include/stdinclude/stdio.h) and TZ.
  std::map<std::string, std::string>& env() { return env_; }

  /// Writes a file below the project directory (directories made as needed).
  void write(const std::string& relative, const std::string& content) const;
  /// Reads a file below the project directory; empty when there is none.
  std::string read(const std::string& relative) const;
  bool exists(const std::string& relative) const;

  /// Runs talvo_s in the project directory.
  ProcessResult run(const std::vector<std::string>& args, ProcessOptions options = {}) const;

 private:
  std::string root_;
  std::string project_;
  std::map<std::string, std::string> env_;
};

/// Writes a file, making its directories; reads one (empty when there is none).
void writeFile(const std::string& path, const std::string& text);
std::string readFile(const std::string& path);

/// Makes a directory the current one for its lifetime, and the environment
/// of the test process that of a run in it.
class InProject {
 public:
  explicit InProject(Scratch& scratch);
  ~InProject();
  InProject(const InProject&) = delete;
  InProject& operator=(const InProject&) = delete;

 private:
  std::string previous_;
};
