// The options whose handling no row kind of the option table can say.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "settings/option_table.h"
#include "settings/run_settings.h"

/// "-max": takes the next argument only when it begins with a digit (and
/// copies it to `maxt` until a "-maxt" was given), then warns about and
/// corrects a `max` outside 0..64, whether or not a value was taken.
size_t takeMaximumBits(RunSettings& rs, const OptionRow& row, std::span<const std::string> args, size_t index);

/// "-maxt": as "-max" for `maxt`; a trailing "d" sets `maxtSuffix`, and a
/// value with other non-digits is reported and consumed.
size_t takeMaximumTBits(RunSettings& rs, const OptionRow& row, std::span<const std::string> args, size_t index);

/// "-bx_bits": a list of numbers of 1 or more, separated by blanks, colons,
/// commas or tabs; stored as given.
size_t takeBitList(RunSettings& rs, const OptionRow& row, std::span<const std::string> args, size_t index);

/// "-D": the definition attached ("-DNAME=1") or the next argument, which
/// must not begin with "-" (it is consumed either way).
size_t takeDefinition(RunSettings& rs, const OptionRow& row, std::span<const std::string> args, size_t index);
