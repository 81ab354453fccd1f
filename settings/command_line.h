// The command-line walk: options, values, list options and input files.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "settings/option_table.h"
#include "settings/run_settings.h"

/// Walks args[1..] (args[0], the program path, is never looked at) into the
/// run settings and `inputFiles`. Bad options are reported and counted; the
/// walk never stops the run itself.
void parseCommandLine(RunSettings& rs, const std::vector<std::string>& args);

/// The same walk over the given option rows instead of commandLineOptions(),
/// so that each kind of row can be tried on a small table of its own.
void parseCommandLine(RunSettings& rs, const std::vector<std::string>& args, std::span<const OptionRow> table);
