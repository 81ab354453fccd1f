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

/// Takes the lock on the current directory, the project, into `lock`: no
/// other run works in zel_work/ while the descriptor or a tool that inherited
/// it lives. When another run holds it, says so once on standard output and
/// waits. 0 when locked, or when the file system offers no lock (`lock` stays
/// empty); -1 (reason and error reported) when the directory cannot be locked.
int32_t lockProjectDirectory(RunSettings& rs, UniqueFd& lock);

/// 0 when the input list can hold every name of `inputFiles`; else -1 (each
/// name reported, then the error): an empty name, or one holding ";".
int32_t checkInputNames(RunSettings& rs);
/// Resets the work directory (unless "-na", which only makes a missing
/// zel_work/elb/) and writes or reads back the input list. 0 when ready, -1
/// (error reported) when a file the run reads lies inside zel_work/, the work
/// directory is not fresh after the reset, or the list cannot be read back or
/// written, or zel_work/elb/ cannot be made.
int32_t prepareInputList(RunSettings& rs);
/// The text of an input list: every name followed by ";".
std::string formatInputList(const std::vector<std::string>& names);
/// The names of an input list text: everything before each ";" (of any
/// length); text after the last ";" is not a name.
std::vector<std::string> parseInputList(std::string_view text);
