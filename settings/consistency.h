// Checks between the chosen output target and the options that it supports.
#pragma once

#include "settings/run_settings.h"

/// Reports the first unsupported combination as an error and returns -1;
/// returns 0 when the settings are consistent. Changes no setting.
int checkOptionConsistency(RunSettings& rs);
