// The constraint file: reading it, applying its options, releasing its store.
#pragma once

#include <string>
#include <string_view>

#include "constraint/store.h"
#include "settings/run_settings.h"

/// Sets the reading mode: whether directive lines and option lines take effect.
void setConstraintMode(ConstraintStore& store, int directivesEnabled, int optionsEnabled);
/// Reads the file at `path`; 0 when the whole file was read, -1 (message
/// already printed) when it cannot be read or a line is rejected.
int readConstraintFile(ConstraintStore& store, const std::string& path);
/// Reads constraint-file text held in memory; `name` stands for the file in the messages.
int readConstraintText(ConstraintStore& store, std::string_view text, const std::string& name);
/// Copies the options recorded from the file into the run settings, echoing each.
void applyConstraintOptions(const ConstraintStore& store, RunSettings& rs);
/// Releases everything the reader stored: option entries and directive lists.
void releaseConstraintStore(ConstraintStore& store);
