// The constraint file: reading it, applying its options, releasing its store.
#pragma once

#include <string>

#include "constraint/store.h"
#include "settings/run_settings.h"

/// Sets the reading mode: whether directive lines and option lines take effect.
void setConstraintMode(ConstraintStore& store, int directivesEnabled, int optionsEnabled);
/// Reads the file at `path`; 0 when the whole file was read, -1 (message
/// already printed) when it cannot be read or a line is rejected.
int readConstraintFile(ConstraintStore& store, const std::string& path);
/// Copies the options recorded from the file into the run settings, echoing each.
void applyConstraintOptions(const ConstraintStore& store, RunSettings& rs);
/// Releases everything the reader stored.
void releaseConstraintStore(ConstraintStore& store);
