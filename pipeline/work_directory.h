// The work directory zel_work/ and the input list zel_work/input.lst.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pipeline/unique_fd.h"
#include "settings/run_settings.h"

inline constexpr const char* kWorkDirectory = "zel_work/";
inline constexpr const char* kElaborationDirectory = "zel_work/elb/";

/// Takes the lock on the current directory, the project, and holds it until
/// the descriptor goes: no other run works in zel_work/ meanwhile. When
/// another run holds it, says so once on standard output and waits. Where the
/// file system offers no lock, the run goes on without one (an empty holder).
UniqueFd lockProjectDirectory();

/// Resets the work directory (unless "-na") and writes or reads back the
/// input list. 0 when ready, -1 (error reported) when the work directory is
/// not fresh after the reset, or the list cannot be read back or written.
int32_t prepareInputList(RunSettings& rs);
/// The text of an input list: every name followed by ";".
std::string formatInputList(const std::vector<std::string>& names);
/// The names of an input list text: everything before each ";" (of any
/// length); text after the last ";" is not a name.
std::vector<std::string> parseInputList(std::string_view text);
