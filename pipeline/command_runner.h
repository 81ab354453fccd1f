// Starting the tools: every tool line goes through runCommand, which prints
// the trace block when tracing is on and hands the line to a runner; and the
// stop signals (SIGINT, SIGQUIT, SIGTERM, SIGHUP) that end a run in order.
#pragma once

#include <functional>
#include <string>

#include "settings/run_settings.h"

/// Runs one command line and returns its status as system() gives it.
using CommandRunner = std::function<int(const std::string& commandLine)>;

/// The runner of a real run: "/bin/sh -c <line>" as system() runs it, in the
/// driver's own process group, so the terminal reaches the tool as it reaches
/// the driver. A line too long for one argument reaches /bin/sh through a file
/// with no name on disk. A stop signal sent to the driver from outside the run
/// is passed on to every process of the run; once one has come, the runner
/// waits until no process of the run is left, and no further tool starts (the
/// status is then that of a shell killed by the signal). A failure of the
/// runner itself prints one line and gives -1.
int runInShell(const std::string& commandLine);

/// With tracing on, prints the trace block; then runs the line with `runner`
/// and returns its status undecoded.
int runCommand(const RunSettings& rs, const std::string& commandLine, const CommandRunner& runner);

/// From now on the stop signals that were not ignored when the run began are
/// caught (held back, and taken by the runner), SIGCHLD has its default
/// action, and the processes the tools leave behind become the driver's
/// children. 0, or -1 with a line saying why.
int catchStopSignals();

/// The stop signal the run must end by, or 0. SIGINT and SIGQUIT are let go
/// when the tool they came during ends other than killed by them (a tool that
/// handles them decides); SIGTERM and SIGHUP always end the run.
int pendingStopSignal();

/// Ends the process by `signal` with its default action, standard output
/// flushed and no core file left behind.
[[noreturn]] void endByStopSignal(int signal);
