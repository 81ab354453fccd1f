// Starting the tools: every tool line goes through runCommand, which prints
// the trace block when tracing is on and hands the line to a runner.
#pragma once

#include <functional>
#include <string>

#include "settings/run_settings.h"

/// Runs one command line and returns its status as system() gives it.
using CommandRunner = std::function<int(const std::string& commandLine)>;

/// The runner of a real run: the shell, which gets a line too long for one
/// argument through a script file instead.
int runInShell(const std::string& commandLine);

/// With tracing on, prints the trace block; then runs the line with `runner`
/// and returns its status undecoded.
int runCommand(const RunSettings& rs, const std::string& commandLine, const CommandRunner& runner);
