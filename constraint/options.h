// The option section's record, read through accessors of two shapes (and a
// third for the "-maxt" suffix). Only the applying step reads it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "constraint/store.h"

/// Sets `value` to 0; when the entry was given, stores its value and returns 1, else 0.
int readGivenValue(const ConstraintOptionEntry& entry, int32_t& value);
/// The entry's text when it was given, else null.
const std::string* readText(const ConstraintOptionEntry& entry);
/// The entry's list when it was given, else null.
const std::vector<std::string>* readList(const ConstraintOptionEntry& entry);
/// The entry's character code when it was given, else 0 ("-rnd", "-ovf").
int32_t readCode(const ConstraintOptionEntry& entry);
/// Sets `suffix` to 0; when the entry was given with a text, stores the
/// text's first character and returns 1, else 0 (the "-maxt" suffix).
int readSuffix(const ConstraintOptionEntry& entry, int32_t& suffix);
