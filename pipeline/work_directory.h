// The work directory zel_work/ and the input list zel_work/input.lst.
#pragma once

#include <cstdint>
#include <string>

#include "settings/run_settings.h"

/// Resets the work directory (unless "-na") and writes or reads back the
/// input list. 0 when ready, -1 (error reported) when the list cannot be written.
int32_t prepareInputList(RunSettings& rs);
/// Removes zel_work/ and creates zel_work/ and zel_work/elb/ again.
int32_t resetWorkDirectory();
/// Empties and deletes the tree at `path`; never follows a symbolic link.
int32_t removeTree(const std::string& path);
