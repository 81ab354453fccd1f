// The command-line walk: options, values, list options and input files.
#pragma once

#include <string>
#include <vector>

#include "settings/run_settings.h"

/// Walks args[1..] (args[0], the program path, is never looked at) into the
/// run settings and `inputFiles`. Bad options are reported and counted; the
/// walk never stops the run itself.
void parseCommandLine(RunSettings& rs, const std::vector<std::string>& args);
