// Runs a program as a child process with its own environment and directory,
// capturing standard output and standard error apart.
#pragma once

#include <map>
#include <string>
#include <vector>

struct ProcessResult {
  std::string out;
  std::string err;
  int exitCode = -1;   // 0..255 when the process exited
  int termSignal = 0;  // the signal that ended it, else 0
};

struct ProcessOptions {
  std::string cwd{};                         // empty: the test's own
  std::map<std::string, std::string> env{};  // the whole environment; empty: the test's own
  bool closeStdout = false;                // start with descriptor 1 closed
  std::string stdoutPath{};                // when set, descriptor 1 is this file
  long addressSpaceLimit = 0;              // RLIMIT_AS in bytes when > 0
};

ProcessResult runProcess(const std::vector<std::string>& argv, const ProcessOptions& options);

/// The built talvo_s binary.
std::string talvoBinary();
/// Replaces every asctime date ("Sun Dec  6 16:39:03 2026") by "<DATE>" and
/// every four-digit year in the notice line by "<YEAR>".
std::string normaliseDates(const std::string& text);

/// Waits until the file at `path` holds `text` (any content when empty), for
/// a running process to reach a point; false after a minute.
bool waitForText(const std::string& path, const std::string& text);
