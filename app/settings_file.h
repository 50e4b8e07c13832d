// A settings file: lines of "name = value" over the demo's options, read from text without
// touching the system, each bad line named and left out.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "app/options.h"

// Below $XDG_CONFIG_HOME (or ~/.config).
inline constexpr const char* kSettingsFileLocation = "velmorin/velmorin.conf";

struct SettingsFileError {
    int line;            // counted from 1
    std::string message; // "bodies: 40 is not a number from 1 to 20"
};

struct SettingsFile {
    std::deque<std::string> values; // what options point into (pictures, renderer)
    std::vector<SettingsFileError> errors;
};

// Applies every good line of text to options, in order. A line is a setting's name (an option's
// long name without the dashes), '=' and its value, spaces around either ignored; '#' at the
// start of a line or after a space starts a comment. A name may be set once. file must outlive
// options.
void settingsFileApply(const std::string& text, SettingsFile* file, DemoOptions* options);
// $XDG_CONFIG_HOME/velmorin/velmorin.conf, else $HOME/.config/velmorin/velmorin.conf; empty when
// neither is known. A relative XDG_CONFIG_HOME counts as unset, as the base directory rules say.
std::string settingsFileDefaultPath(const char* xdgConfigHome, const char* home);
