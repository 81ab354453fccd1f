// The checking and elaboration phases of tools.
#pragma once

#include <cstdint>

#include "pipeline/command_runner.h"
#include "settings/run_settings.h"

/// Runs every tool line in order with `runner`: 0, -2 (checking phase
/// failed) or -3 (elaboration phase failed).
int32_t runPipeline(RunSettings& rs, const CommandRunner& runner);
/// Removes "<input>.p" for every input file but an empty name; the OR of the
/// failures, never traced.
int32_t removeTemporaryFiles(const RunSettings& rs);
