// The settings file a mode option starts from: found, read, and its bad lines reported.
#pragma once

#include "app/options.h"
#include "app/settings_file.h"

// Given the options the command line gave (a mode among them), the settings file's lines under
// them: the command line still wins. Bad lines are reported on standard error, one each, and
// left out. -1: go on; else the exit status (a --config file that cannot be read).
int linuxApplySettingsFile(int argc, const char* const* argv, const char* saverWindowEnv,
                           SettingsFile* file, DemoOptions* options);
