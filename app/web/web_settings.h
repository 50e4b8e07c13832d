// The page's settings: read from its address over what it remembers, shown and changed in its
// panel, and written back to both.
#pragma once

#include <cstddef>

#include "sim/long_run.h"
#include "sim/settings.h"

inline constexpr size_t kBackgroundNameSize = 8;

struct PageSettings {
    SimSettings sim;
    // "fill", "fixed" or "none" (backgroundModeFromName), kept as written for the form.
    char background[kBackgroundNameSize] = "fill";
    bool showFps = false; // the frame-rate figure in the page
    // What the frame is to do with a scene that spreads out: widen the view to keep it in sight,
    // and start a new one from the next seed once it has flown apart. Fixed steps keep the fixed
    // view and their one scene unless the address names these.
    ViewMode view = ViewMode::Follow;
    RenewMode renew = RenewMode::Auto;
};

// One setting by its address name (bodies, speed, spray, background, fps, view, renew) from its
// text, read
// as the command line reads the option; false, and settings untouched, when the name is none
// of them or the text is refused.
bool pageSettingsTake(const char* name, const char* text, PageSettings* settings);
// The settings to start with: the defaults (with reduced motion asked for, the slowest speed and
// no spray), then what the page remembers, then the address. A value the address gets wrong
// keeps the default, and one line in the page names it. Fixed steps read the address alone, so
// that the same address always draws the same frames.
PageSettings pageSettingsLoad(bool fixedSteps);
// The panel's fields: their bounds from the parsers' own limits, their values from settings.
void pageSettingsShow(const PageSettings& settings);
// A change the panel made, into the address (replacing the history entry, so the link can be
// shared) and into what the page remembers.
void pageSettingsKeep(const char* name, const char* text);
bool pageSettingsPanelOpen();
void pageSettingsSetPanelOpen(bool open);

// Defined by the shell, called by the panel for each change of a field: the change in force at
// once (another body count starts the scene again from its seed), then kept.
extern "C" void webSettingsChange(const char* name, const char* text);
