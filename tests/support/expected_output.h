// The fixed texts of a run's log as the end-to-end tests expect them, dates
// and the notice's year already normalised (see normaliseDates).
#pragma once

#include <string>

namespace expected {

inline const std::string kBanner =
    "Talvoware-for_c_analyzer(1.00.00) command started... <DATE>\n"
    "Copyright (C) <YEAR> the talvo_s developers. Provided as is, without warranty of any kind.\n\n";
inline const std::string kChecking = ">>> -s :Checking and analyzing C-files.\n";
inline const std::string kElaborating = ">>>     Elaborating C-files.\n";
inline const std::string kFinished = "command finished successfully. <DATE>\n\n";
inline const std::string kStopped = "command stopped. <DATE>\n\n";

/// The option echo of a run; `args` is every argument with a blank before it.
inline std::string echo(const std::string& args) { return ">>> Checking option... <DATE>\n>" + args + "\n\n"; }
/// The line that announces a constraint file.
inline std::string checking(const std::string& path) { return ">>> Checking constarint file ... '" + path + "'\n"; }

}  // namespace expected
