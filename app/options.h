// The demo's command line: what each option asks for, parsed without touching the system.
#pragma once

#include <cstdint>

#include "render/background_mode.h"
#include "sim/long_run.h"
#include "sim/settings.h"

inline constexpr const char* kProgramName = "velmorin";
inline constexpr int kUsageStatus = 2;
// Frames a second for a screensaver when none is asked for.
inline constexpr uint32_t kSaverDefaultMaxFps = 60;
// Frames a second for a wallpaper when none is asked for: a background seen beside other work,
// so half the saver's cost, with the slow motion of the scene still smooth.
inline constexpr uint32_t kWallpaperDefaultMaxFps = 30;
// The refresh rate taken when the system does not tell it (a virtual X server, say).
inline constexpr int kUnknownRefreshRate = 60;
// A generous bound on --max-fps that still keeps the frame period sane.
inline constexpr uint32_t kMaxFpsLimit = 100000;

enum class WindowMode {
    SwitchedFullScreen, // no option: the 800 by 600 popup with the display switched to match
    Windowed,           // a decorated, resizable window; the display is left alone
    Desktop,            // borderless over the whole screen at its own resolution
    Saver,              // drawing into a window another program owns (a screensaver host)
    Wallpaper,          // behind every window: the desktop's background on each screen
    StandaloneSaver,    // over every window until the user stirs, for idle tools that run a
                        // command; no host involved
};

struct DemoOptions {
    WindowMode mode = WindowMode::SwitchedFullScreen;
    int windowWidth = 0; // Windowed only
    int windowHeight = 0;
    bool seedGiven = false;
    uint32_t seed = 0;
    const char* picturesDir = nullptr; // points into argv; null: search the usual places
    bool maxFpsGiven = false;
    uint32_t maxFps = 0; // 0: no cap
    bool noVsync = false;
    bool showFps = false;
    // "gl11" (fixed function, the default) or "gles2" (shaders in an OpenGL ES 2 context).
    const char* renderer = nullptr; // points into argv; null: the default
    SimSettings sim;                // spheres, speed and spray points
    bool backgroundGiven = false;
    BackgroundMode background = BackgroundMode::Fixed;
    // Only with a mode option: the switched full-screen demo is the fixed scene, always.
    bool viewGiven = false;
    ViewMode view = ViewMode::Fixed;
    bool renewGiven = false;
    RenewMode renew = RenewMode::Never;

    // Another settings file than the usual one; points into argv. Only with a mode option.
    const char* configFile = nullptr;

    // Saver mode: the host's window, or the root window when drawOnRoot is set.
    bool drawOnRoot = false;
    uint64_t hostWindow = 0;
};

enum class OptionsVerdict {
    Run,
    Help,
    Version,
    BadUsage,
};

// Parses argv[1..]. saverWindowEnv is the host's window id from the environment (null when
// unset); it wins over --window-id and --root, as screensaver hosts expect, and is ignored when
// another mode (--windowed, --desktop, --wallpaper, --saver) was asked for by name. Nothing is
// printed.
OptionsVerdict parseDemoOptions(int argc, const char* const* argv, const char* saverWindowEnv,
                                DemoOptions* options);

// The command line over what options already holds (a settings file's lines): whatever it
// gives wins, and nothing is reset first. parseDemoOptions is this over the defaults.
OptionsVerdict parseDemoOptionsOver(int argc, const char* const* argv, const char* saverWindowEnv,
                                    DemoOptions* options);

enum class SettingVerdict {
    Applied,
    Unknown,         // no option of that name
    CommandLineOnly, // a mode option, --config, --help or --version
    BadValue,        // options untouched
};

// One setting as a settings file names it: an option's long name without the dashes, and its
// value; a switch takes true or false (also yes/no, on/off, 1/0). Read by the option's own
// parser. A value kept in options (pictures, renderer) must outlive them.
SettingVerdict applyDemoSetting(const char* name, const char* value, DemoOptions* options);
// What a setting's value must be, in words ("a number from 1 to 20"); null for names that are
// no setting of a file.
const char* demoSettingExpects(const char* name);

// A window id as hosts pass it: "0x" and hex digits, or decimal; never 0.
bool parseWindowId(const char* text, uint64_t* out);

// Frames a second at most. Unless asked otherwise, never more than the display shows
// (displayRefreshHz, 0 when unknown): where vsync does not hold the rate (software GL, a VM, a
// remote desktop) the demo would otherwise draw frames nobody sees. A screensaver keeps to 60
// and a wallpaper, seen beside other work for hours, to 30.
uint32_t effectiveMaxFps(const DemoOptions& options, int displayRefreshHz);
// The background asked for, else fixed in the switched full-screen mode and filling in every
// other, where the drawable has whatever size the screen, window or host gives it.
BackgroundMode effectiveBackground(const DemoOptions& options);
// The view and renewal asked for, else following and renewing in every mode but the switched
// full-screen one, which keeps the fixed view and its one scene.
ViewMode effectiveView(const DemoOptions& options);
RenewMode effectiveRenew(const DemoOptions& options);

// The one-line usage for errors, and the whole help text.
extern const char* const kUsageLine;
extern const char* const kHelpText;
// "velmorin X.Y.Z"
extern const char* const kVersionText;
