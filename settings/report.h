// The reporters, the only way diagnostics are counted, and the clock the
// run's log shows.
#pragma once

#include <string>
#include <string_view>

#include "settings/run_settings.h"

/// Prints "Error : <message>" on standard output and counts it.
void reportError(RunSettings& rs, std::string_view message);
/// Prints "Warning : <message>" on standard output and counts it.
void reportWarning(RunSettings& rs, std::string_view message);
/// Prints the line that says why before a refusal: ">>> '<subject>' <reason>."
/// or, with a system error, ">>> '<subject>' <reason>: <its message>.". The
/// subject is a path or a word of the input. Not counted.
void printReason(std::string_view subject, std::string_view reason, int error = 0);

/// The current local time in asctime form, line end included.
std::string asctimeNow();
