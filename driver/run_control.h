// The order of a whole run, from the banner to the exit status.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "constraint/store.h"
#include "driver/command_runner.h"
#include "settings/run_settings.h"

/// The value of a debugging switch variable: 1 only for exactly "1".
int32_t switchValue(const char* value);

/// Runs talvo_s with args[0] the program path, the tools through `runner`.
/// Returns the exit status: 0, -1 (refused), -2 (checking phase failed) or
/// -3 (elaboration failed).
int runTalvo(const std::vector<std::string>& args, RunSettings& rs, ConstraintStore& store,
             const CommandRunner& runner);
