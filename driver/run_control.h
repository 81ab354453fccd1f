// The order of a whole run, from the banner to the exit status.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "constraint/store.h"
#include "pipeline/command_runner.h"
#include "settings/run_settings.h"

/// The value of a debugging switch variable: 1 only for exactly "1".
int32_t switchValue(const char* value);

/// Whether a run catches the stop signals once it works in zel_work/ (a real
/// run), or leaves them as they are (a run inside a test).
enum class StopSignals { leftAlone, caught };

/// Runs talvo_s with args[0] the program path, the tools through `runner`.
/// Returns the exit status: 0, -1 (refused), -2 (checking phase failed) or
/// -3 (elaboration failed). After a stop signal the run ends as a stopped
/// one, and pendingStopSignal() tells the caller to end by that signal.
int runTalvo(const std::vector<std::string>& args, RunSettings& rs, ConstraintStore& store, const CommandRunner& runner,
             StopSignals stopSignals = StopSignals::leftAlone);
