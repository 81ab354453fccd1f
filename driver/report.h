// The reporters and the command runner: the only way diagnostics are counted
// and the only way a tool is started.
#pragma once

#include <string>
#include <string_view>

#include "settings/run_settings.h"

/// Prints "Error : <message>" on standard output and counts it.
void reportError(RunSettings& rs, std::string_view message);
/// Prints "Warning : <message>" on standard output and counts it.
void reportWarning(RunSettings& rs, std::string_view message);

/// Hands one command line to the shell and returns the status exactly as
/// system() gives it. With tracing on, a trace block precedes the command.
int runCommand(const RunSettings& rs, const std::string& commandLine);

/// The current local time in asctime form, line end included.
std::string asctimeNow();
