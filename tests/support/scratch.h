// A scratch project directory and installation root for one test.
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
  /// An installation root that holds libtalvo/include/stdinclude/stdio.h.
  const std::string& talvoRoot() const { return talvoRoot_; }
  /// The environment of a run: PATH, and TALVO pointing at the scratch root.
  std::map<std::string, std::string>& env() { return env_; }

  /// Writes a file below the project directory (directories made as needed).
  void write(const std::string& relative, const std::string& content) const;
  /// Reads a file below the project directory.
  std::string read(const std::string& relative) const;
  bool exists(const std::string& relative) const;

  /// Runs talvo_s in the project directory with the given arguments.
  ProcessResult run(const std::vector<std::string>& args) const;
  ProcessResult run(const std::vector<std::string>& args, ProcessOptions options) const;

 private:
  std::string root_;
  std::string project_;
  std::string talvoRoot_;
  std::map<std::string, std::string> env_;
};
