// The demo's command line: a table of options, each parsed strictly, each allowed once.
#include "app/options.h"

#include <cstring>

#include "app/shell.h"
#include "common/cli_args.h"
#include "common/settings_args.h"

const char* const kUsageLine =
    "usage: velmorin [--windowed[=WxH] | --desktop | --root | --window-id ID | --wallpaper | "
    "--saver] [--seed N] "
    "[--pictures DIR] [--max-fps N] [--no-vsync] [--fps] [--renderer gl11|gles2] "
    "[--bodies N] [--speed X] [--spray N] [--background fill|fixed|none] [--view follow|fixed] "
    "[--renew auto|never] "
    "[--config FILE] [--help] [--version]\n";

const char* const kHelpText =
    "usage: velmorin [OPTION]...\n"
    "A self-running OpenGL demo: five textured spheres attract, bounce and spray coloured\n"
    "points in front of a background picture. Escape ends it.\n"
    "\n"
    "With no option it fills the screen at 800x600, switching the display to that mode while\n"
    "it runs.\n"
    "\n"
    "  --windowed[=WxH]  an ordinary resizable window (default 800x600); no mode switch\n"
    "  --desktop         borderless full screen at the desktop's resolution; no mode switch\n"
    "  --seed N          the scene from seed N (0 to 4294967295) instead of the clock\n"
    "  --pictures DIR    read background.bmp and the sphere pictures from DIR\n"
    "  --max-fps N       draw at most N frames a second (0: no cap; by default the\n"
    "                    display's refresh rate, 60 when it is unknown)\n"
    "  --no-vsync        ask the driver not to wait for the display's refresh, and draw\n"
    "                    as fast as it can unless --max-fps is given\n"
    "  --fps             show the frames drawn per second in a corner\n"
    "  --renderer NAME   gl11: fixed-function OpenGL (the default); gles2: shaders in an\n"
    "                    OpenGL ES 2 context, as in the browser\n"
    "  --bodies N        N spheres (1 to 20, default 5)\n"
    "  --speed X         run the simulation X times as fast (0.25 to 4, default 1)\n"
    "  --spray N         N points in each sphere's spray (0 to 100, default 100; 0: none)\n"
    "  --background HOW  fill: the picture scaled to cover the window (the default with any\n"
    "                    mode option); fixed: unscaled at its 800x600 place (the default\n"
    "                    without); none: black\n"
    "  --view HOW        follow: widen the view, smoothly, to keep every sphere in sight;\n"
    "                    fixed: never (only with a mode option; follow is its default)\n"
    "  --renew HOW       auto: a new scene once the old one has flown apart; never: one\n"
    "                    scene for ever (only with a mode option; auto is its default)\n"
    "  --root            screensaver: draw on the root window\n"
    "  --window-id ID    screensaver: draw into window ID (0x hex or decimal); the\n"
    "                    XSCREENSAVER_WINDOW variable, when set, takes its place\n"
    "  --wallpaper       the desktop's background, behind every window: a layer surface on\n"
    "                    each Wayland output, the root window on X11; at most 30 frames a\n"
    "                    second unless --max-fps says otherwise\n"
    "  --saver           a screensaver for idle tools that run a command: over every window\n"
    "                    until a key, a click or a pointer move; at most 60 frames a second\n"
    "                    unless --max-fps says otherwise\n"
    "  --config FILE     read the settings from FILE instead of\n"
    "                    $XDG_CONFIG_HOME/velmorin/velmorin.conf (only with a mode option)\n"
    "  --help            show this help and end\n"
    "  --version         show the version and end\n"
    "\n"
    "Pictures are looked for in DIR, then bitmap/ in the working folder, then the installed\n"
    "share/velmorin/bitmap, then bitmap/ beside the program.\n"
    "With a mode option the settings file is read first, its lines as \"bodies = 7\" or\n"
    "\"fps = true\"; the command line wins over it. Without one the file is not read.\n"
    "Exit status: 0 when it ends normally or on a signal, 1 when --wallpaper or --saver\n"
    "cannot be shown (a Wayland compositor without layer surfaces), 2 for bad usage.\n";

const char* const kVersionText = "velmorin " VELMORIN_VERSION;

namespace {

// A generous bound that still keeps width * height sane.
constexpr uint32_t kMaxWindowSide = 16384;
constexpr unsigned long long kMaxWindowId = UINT32_MAX; // X resource ids are 29 bits

struct ParseState {
    DemoOptions* options;
    bool modeGiven = false;
};

bool parseWindowSize(const char* text, DemoOptions* options) {
    return parseSizeArg(text, kMaxWindowSide, &options->windowWidth, &options->windowHeight);
}

bool setMode(ParseState* state, WindowMode mode) {
    if (state->modeGiven) {
        return false; // two ways of showing the demo at once
    }
    state->modeGiven = true;
    state->options->mode = mode;
    return true;
}

bool onWindowed(ParseState* state, const char* value) {
    state->options->windowWidth = kScreenWidth;
    state->options->windowHeight = kScreenHeight;
    return setMode(state, WindowMode::Windowed) &&
           (value == nullptr || parseWindowSize(value, state->options));
}

bool onDesktop(ParseState* state, const char* /*value*/) {
    return setMode(state, WindowMode::Desktop);
}

bool onRoot(ParseState* state, const char* /*value*/) {
    state->options->drawOnRoot = true;
    return setMode(state, WindowMode::Saver);
}

bool onWindowId(ParseState* state, const char* value) {
    return setMode(state, WindowMode::Saver) && parseWindowId(value, &state->options->hostWindow);
}

bool onWallpaper(ParseState* state, const char* /*value*/) {
    return setMode(state, WindowMode::Wallpaper);
}

bool onSaver(ParseState* state, const char* /*value*/) {
    return setMode(state, WindowMode::StandaloneSaver);
}

bool onSeed(ParseState* state, const char* value) {
    state->options->seedGiven = true;
    return parseSeedArg(value, &state->options->seed);
}

bool onPictures(ParseState* state, const char* value) {
    state->options->picturesDir = value;
    return *value != '\0';
}

bool onMaxFps(ParseState* state, const char* value) {
    unsigned long long fps = 0;
    if (!parseUnsignedArg(value, kMaxFpsLimit, &fps)) {
        return false;
    }
    state->options->maxFpsGiven = true;
    state->options->maxFps = static_cast<uint32_t>(fps);
    return true;
}

bool onNoVsync(ParseState* state, const char* /*value*/) {
    state->options->noVsync = true;
    return true;
}

bool onFps(ParseState* state, const char* /*value*/) {
    state->options->showFps = true;
    return true;
}

bool onRenderer(ParseState* state, const char* value) {
    state->options->renderer = value;
    return std::strcmp(value, "gl11") == 0 || std::strcmp(value, "gles2") == 0;
}

bool onBodies(ParseState* state, const char* value) {
    return parseBodiesArg(value, &state->options->sim.bodies);
}

bool onSpeed(ParseState* state, const char* value) {
    return parseSpeedArg(value, &state->options->sim.speed);
}

bool onSpray(ParseState* state, const char* value) {
    return parseSprayArg(value, &state->options->sim.spray);
}

bool onBackground(ParseState* state, const char* value) {
    state->options->backgroundGiven = true;
    return backgroundModeFromName(value, &state->options->background);
}

bool onView(ParseState* state, const char* value) {
    state->options->viewGiven = true;
    return viewModeFromName(value, &state->options->view);
}

bool onRenew(ParseState* state, const char* value) {
    state->options->renewGiven = true;
    return renewModeFromName(value, &state->options->renew);
}

bool onConfig(ParseState* state, const char* value) {
    state->options->configFile = value;
    return *value != '\0';
}

enum class ValueKind {
    None,     // a plain switch
    Optional, // only as --name=value
    Required, // --name value or --name=value
};

struct OptionRule {
    const char* name;
    ValueKind value;
    bool (*apply)(ParseState* state, const char* value);
    // What a settings file line must give, for its error message; null: the option is for the
    // command line alone (a mode, or the file itself).
    const char* fileExpects;
};

constexpr const char* kSwitchExpects = "true or false";

constexpr OptionRule kOptionRules[] = {
    {"--windowed", ValueKind::Optional, onWindowed, nullptr},
    {"--desktop", ValueKind::None, onDesktop, nullptr},
    {"--root", ValueKind::None, onRoot, nullptr},
    {"--window-id", ValueKind::Required, onWindowId, nullptr},
    {"--wallpaper", ValueKind::None, onWallpaper, nullptr},
    {"--saver", ValueKind::None, onSaver, nullptr},
    {"--seed", ValueKind::Required, onSeed, "a number from 0 to 4294967295"},
    {"--pictures", ValueKind::Required, onPictures, "a folder"},
    {"--max-fps", ValueKind::Required, onMaxFps, "a number from 0 to 100000"},
    {"--no-vsync", ValueKind::None, onNoVsync, kSwitchExpects},
    {"--fps", ValueKind::None, onFps, kSwitchExpects},
    {"--renderer", ValueKind::Required, onRenderer, "gl11 or gles2"},
    {"--bodies", ValueKind::Required, onBodies, "a number from 1 to 20"},
    {"--speed", ValueKind::Required, onSpeed, "a number from 0.25 to 4"},
    {"--spray", ValueKind::Required, onSpray, "a number from 0 to 100"},
    {"--background", ValueKind::Required, onBackground, "fill, fixed or none"},
    {"--view", ValueKind::Required, onView, "follow or fixed"},
    {"--renew", ValueKind::Required, onRenew, "auto or never"},
    {"--config", ValueKind::Required, onConfig, nullptr},
};
constexpr size_t kOptionRuleCount = sizeof kOptionRules / sizeof kOptionRules[0];

// The rule whose name the argument is, alone or followed by '='; *inlineValue gets what
// follows the '=' (null when there is none).
int findRule(const char* argument, const char** inlineValue) {
    for (size_t i = 0; i < kOptionRuleCount; i++) {
        const size_t length = std::strlen(kOptionRules[i].name);
        if (std::strncmp(argument, kOptionRules[i].name, length) != 0) {
            continue;
        }
        if (argument[length] == '\0') {
            *inlineValue = nullptr;
            return static_cast<int>(i);
        }
        if (argument[length] == '=') {
            *inlineValue = argument + length + 1;
            return static_cast<int>(i);
        }
    }
    return -1;
}

// A switch in a settings file: on or off, in the words people write in such files.
bool parseSwitchValue(const char* text, bool* on) {
    constexpr const char* kOn[] = {"true", "yes", "on", "1"};
    constexpr const char* kOff[] = {"false", "no", "off", "0"};
    for (size_t i = 0; i < sizeof kOn / sizeof kOn[0]; i++) {
        if (std::strcmp(text, kOn[i]) == 0 || std::strcmp(text, kOff[i]) == 0) {
            *on = std::strcmp(text, kOn[i]) == 0;
            return true;
        }
    }
    return false;
}

} // namespace

bool parseWindowId(const char* text, uint64_t* out) {
    if (text == nullptr) {
        return false;
    }
    unsigned long long id = 0;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        if (!parseHexArg(text + 2, kMaxWindowId, &id)) {
            return false;
        }
    } else if (!parseUnsignedArg(text, kMaxWindowId, &id)) {
        return false;
    }
    *out = id;
    return id != 0; // 0 is no window at all
}

OptionsVerdict parseDemoOptions(int argc, const char* const* argv, const char* saverWindowEnv,
                                DemoOptions* options) {
    *options = DemoOptions{};
    return parseDemoOptionsOver(argc, argv, saverWindowEnv, options);
}

OptionsVerdict parseDemoOptionsOver(int argc, const char* const* argv, const char* saverWindowEnv,
                                    DemoOptions* options) {
    ParseState state{options};
    bool seen[kOptionRuleCount] = {};
    for (int i = 1; i < argc; i++) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--help") == 0) {
            return OptionsVerdict::Help;
        }
        if (std::strcmp(argument, "--version") == 0) {
            return OptionsVerdict::Version;
        }
        const char* value = nullptr;
        const int rule = findRule(argument, &value);
        if (rule < 0 || seen[rule]) {
            return OptionsVerdict::BadUsage;
        }
        seen[rule] = true;
        const OptionRule& option = kOptionRules[rule];
        if (option.value == ValueKind::None && value != nullptr) {
            return OptionsVerdict::BadUsage;
        }
        if (option.value == ValueKind::Required && value == nullptr) {
            if (i + 1 >= argc) {
                return OptionsVerdict::BadUsage;
            }
            value = argv[++i];
        }
        if (!option.apply(&state, value)) {
            return OptionsVerdict::BadUsage;
        }
    }
    // The host's variable names the window to draw into, over --root and --window-id. A mode
    // asked for by name keeps it: a variable left in the environment must not turn a wallpaper
    // or a blanker into a hosted saver.
    if (saverWindowEnv != nullptr && *saverWindowEnv != '\0' &&
        (options->mode == WindowMode::SwitchedFullScreen || options->mode == WindowMode::Saver)) {
        if (!parseWindowId(saverWindowEnv, &options->hostWindow)) {
            return OptionsVerdict::BadUsage;
        }
        options->mode = WindowMode::Saver;
        options->drawOnRoot = false;
    }
    if (options->mode == WindowMode::SwitchedFullScreen &&
        (options->viewGiven || options->renewGiven || options->configFile != nullptr)) {
        // The switched demo has one view and one scene, and no settings file to read.
        return OptionsVerdict::BadUsage;
    }
    return OptionsVerdict::Run;
}

SettingVerdict applyDemoSetting(const char* name, const char* value, DemoOptions* options) {
    int found = -1;
    for (size_t i = 0; i < kOptionRuleCount; i++) {
        if (std::strcmp(kOptionRules[i].name + 2, name) == 0) { // past the dashes
            found = static_cast<int>(i);
        }
    }
    if (found < 0) {
        const bool commandOnly =
            std::strcmp(name, "help") == 0 || std::strcmp(name, "version") == 0;
        return commandOnly ? SettingVerdict::CommandLineOnly : SettingVerdict::Unknown;
    }
    const OptionRule& rule = kOptionRules[found];
    if (rule.fileExpects == nullptr) {
        return SettingVerdict::CommandLineOnly;
    }
    // A refused value must leave nothing behind, so it is tried on a copy first.
    DemoOptions tried = *options;
    ParseState state{&tried};
    bool accepted = false;
    if (rule.value == ValueKind::None) {
        bool on = false;
        accepted = parseSwitchValue(value, &on) && (!on || rule.apply(&state, nullptr));
    } else {
        accepted = rule.apply(&state, value);
    }
    if (!accepted) {
        return SettingVerdict::BadValue;
    }
    *options = tried;
    return SettingVerdict::Applied;
}

const char* demoSettingExpects(const char* name) {
    for (const OptionRule& rule : kOptionRules) {
        if (std::strcmp(rule.name + 2, name) == 0) {
            return rule.fileExpects;
        }
    }
    return nullptr;
}

uint32_t effectiveMaxFps(const DemoOptions& options, int displayRefreshHz) {
    if (options.maxFpsGiven) {
        return options.maxFps;
    }
    switch (options.mode) {
    case WindowMode::Saver:
    case WindowMode::StandaloneSaver:
        return kSaverDefaultMaxFps;
    case WindowMode::Wallpaper:
        return kWallpaperDefaultMaxFps;
    case WindowMode::SwitchedFullScreen:
    case WindowMode::Windowed:
    case WindowMode::Desktop:
        break;
    }
    if (options.noVsync) {
        return 0; // as fast as it can, for benchmarks
    }
    return static_cast<uint32_t>(displayRefreshHz > 0 ? displayRefreshHz : kUnknownRefreshRate);
}

BackgroundMode effectiveBackground(const DemoOptions& options) {
    if (options.backgroundGiven) {
        return options.background;
    }
    return options.mode == WindowMode::SwitchedFullScreen ? BackgroundMode::Fixed
                                                          : BackgroundMode::Fill;
}

ViewMode effectiveView(const DemoOptions& options) {
    if (options.viewGiven) {
        return options.view;
    }
    return options.mode == WindowMode::SwitchedFullScreen ? ViewMode::Fixed : ViewMode::Follow;
}

RenewMode effectiveRenew(const DemoOptions& options) {
    if (options.renewGiven) {
        return options.renew;
    }
    return options.mode == WindowMode::SwitchedFullScreen ? RenewMode::Never : RenewMode::Auto;
}
