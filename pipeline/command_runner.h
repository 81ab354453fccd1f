// Starting the tools: every tool line goes through runCommand, which prints
// the trace block when tracing is on and hands the line to a runner; and the
// stop signals (SIGINT, SIGQUIT, SIGTERM, SIGHUP) that end a run in order.
#pragma once

#include <functional>
#include <string>

#include "settings/run_settings.h"

/// Runs one command line and returns its status as system() gives it.
using CommandRunner = std::function<int(const std::string& commandLine)>;

/// The runner of a real run: "/bin/sh -c <line>" as system() runs it, but in
/// a process group of its own that a stop signal is passed on to. A line too
/// long for one argument reaches /bin/sh through a file with no name on disk.
/// Once a stop signal has come, no tool starts: the status is then that of a
/// shell killed by the signal.
int runInShell(const std::string& commandLine);

/// With tracing on, prints the trace block; then runs the line with `runner`
/// and returns its status undecoded.
int runCommand(const RunSettings& rs, const std::string& commandLine, const CommandRunner& runner);

/// From now on the stop signals that were not ignored when the run began are
/// caught: each is passed on to the tool that runs, and remembered.
void catchStopSignals();

/// The stop signal the run must end by, or 0. SIGINT and SIGQUIT are let go
/// when the tool they came during ends other than killed by them (a tool that
/// handles them decides); SIGTERM and SIGHUP always end the run.
int pendingStopSignal();

/// Ends the process by `signal` with its default action, standard output
/// flushed and no core file left behind.
[[noreturn]] void endByStopSignal(int signal);
