// The work directory zel_work/ and the input list zel_work/input.lst.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/run_settings.h"

/// Resets the work directory (unless "-na") and writes or reads back the
/// input list. 0 when ready, -1 (error reported) when the list cannot be written.
int32_t prepareInputList(RunSettings& rs);
/// Removes zel_work/ and creates zel_work/ and zel_work/elb/ again.
int32_t resetWorkDirectory();
/// Empties and deletes the tree at `path`; never follows a symbolic link.
int32_t removeTree(const std::string& path);

/// The text of an input list: every name followed by ";".
std::string formatInputList(const std::vector<std::string>& names);
/// The names of an input list text: everything before each ";" (of any
/// length); text after the last ";" is not a name.
std::vector<std::string> parseInputList(std::string_view text);
