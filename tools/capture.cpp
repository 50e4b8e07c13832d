// velmorin-capture: renders seeded frames offscreen with a fixed dt and writes them as PNG files.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "common/cli_args.h"
#include "common/picture_search.h"
#include "common/settings_args.h"
#include "platform/platform.h"
#include "render/background.h"
#include "render/body_looks.h"
#include "render/error_report.h"
#include "render/frame.h"
#include "render/picture_folder.h"
#include "render/renderer.h"
#include "sim/scene.h"
#include "sim/settings.h"
#include "sim/world.h"

namespace {

constexpr int kUsageStatus = 2;
constexpr int kFailureStatus = 1;
constexpr const char* kUsage = "usage: velmorin-capture --seed S --frames N --dt D --out FILE.png "
                               "[--every K PREFIX] [--dir DIR] [--renderer gl11|gles2] "
                               "[--size WxH] [--background fixed|fill|none] "
                               "[--bodies N] [--speed X] [--spray N] "
                               "[--view follow|fixed] [--renew auto|never]\n";
constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 600;
// Large enough for any screen, small enough that one frame's pixels stay well within memory.
constexpr uint32_t kMaxSide = 8192;
constexpr int kRgbChannels = 3;
// Largest frame count accepted: the numbered file names hold six digits.
constexpr unsigned long long kMaxFrames = 999999;

struct CaptureOptions {
    uint32_t seed = 0;
    unsigned long long frames = 0;
    double dt = 0.0;
    std::string out;
    unsigned long long every = 0; // 0: no numbered frames
    std::string everyPrefix;
    std::string dir;
    RendererKind renderer = rendererDefaultKind();
    SimSettings sim;
    int width = kDefaultWidth;
    int height = kDefaultHeight;
    BackgroundMode background = BackgroundMode::Fixed;
    ViewMode view = ViewMode::Fixed;
    RenewMode renew = RenewMode::Never;
};

// A finite, non-negative number of seconds.
bool parseDt(const char* text, double* out) {
    double value = 0.0;
    if (!parseFiniteArg(text, &value) || value < 0.0) {
        return false;
    }
    *out = value;
    return true;
}

bool isNonEmpty(const char* text) {
    return text != nullptr && *text != '\0';
}

bool parseOptions(int argc, char** argv, CaptureOptions* options) {
    bool haveSeed = false;
    bool haveFrames = false;
    bool haveDt = false;
    bool haveRenderer = false;
    uint32_t settingsSeen = 0;
    bool haveSize = false;
    bool haveBackground = false;
    for (int i = 1; i < argc; i++) {
        const char* flag = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        SettingsArg setting = takeSettingsArg(flag, value, &options->sim, &settingsSeen);
        if (setting == SettingsArg::NotASetting) {
            setting = takeLongRunArg(flag, value, &options->view, &options->renew, &settingsSeen);
        }
        if (setting == SettingsArg::Refused) {
            return false;
        }
        if (setting == SettingsArg::Taken) {
            i++;
        } else if (std::strcmp(flag, "--seed") == 0 && !haveSeed) {
            if (!parseSeedArg(value, &options->seed)) {
                return false;
            }
            haveSeed = true;
            i++;
        } else if (std::strcmp(flag, "--frames") == 0 && !haveFrames) {
            if (!parseUnsignedArg(value, kMaxFrames, &options->frames) || options->frames == 0) {
                return false;
            }
            haveFrames = true;
            i++;
        } else if (std::strcmp(flag, "--dt") == 0 && !haveDt) {
            if (!parseDt(value, &options->dt)) {
                return false;
            }
            haveDt = true;
            i++;
        } else if (std::strcmp(flag, "--out") == 0 && options->out.empty()) {
            if (!isNonEmpty(value)) {
                return false;
            }
            options->out = value;
            i++;
        } else if (std::strcmp(flag, "--every") == 0 && options->every == 0) {
            const char* prefix = i + 2 < argc ? argv[i + 2] : nullptr;
            if (!parseUnsignedArg(value, kMaxFrames, &options->every) || options->every == 0 ||
                !isNonEmpty(prefix)) {
                return false;
            }
            options->everyPrefix = prefix;
            i += 2;
        } else if (std::strcmp(flag, "--renderer") == 0 && !haveRenderer) {
            if (!rendererKindFromName(value, &options->renderer)) {
                return false;
            }
            haveRenderer = true;
            i++;
        } else if (std::strcmp(flag, "--size") == 0 && !haveSize) {
            if (!parseSizeArg(value, kMaxSide, &options->width, &options->height)) {
                return false;
            }
            haveSize = true;
            i++;
        } else if (std::strcmp(flag, "--background") == 0 && !haveBackground) {
            if (!backgroundModeFromName(value, &options->background)) {
                return false;
            }
            haveBackground = true;
            i++;
        } else if (std::strcmp(flag, "--dir") == 0 && options->dir.empty()) {
            if (!isNonEmpty(value)) {
                return false;
            }
            options->dir = value;
            i++;
        } else {
            return false;
        }
    }
    return haveSeed && haveFrames && haveDt && !options->out.empty();
}

void printCaptureError(const char* text) {
    std::fprintf(stderr, "velmorin-capture: %s\n", text);
}

// The back buffer as PNG: GL's rows run bottom-up, PNG's top-down.
bool writeBackBufferPng(const std::string& path, int width, int height) {
    const size_t rowBytes = static_cast<size_t>(width) * kRgbChannels;
    std::vector<uint8_t> bottomUp(rowBytes * height);
    rendererReadPixels(0, 0, width, height, bottomUp.data());
    std::vector<uint8_t> topDown(bottomUp.size());
    for (int row = 0; row < height; row++) {
        std::memcpy(&topDown[static_cast<size_t>(row) * rowBytes],
                    &bottomUp[static_cast<size_t>(height - 1 - row) * rowBytes], rowBytes);
    }
    if (stbi_write_png(path.c_str(), width, height, kRgbChannels, topDown.data(),
                       static_cast<int>(rowBytes)) == 0) {
        std::fprintf(stderr, "velmorin-capture: could not write %s\n", path.c_str());
        return false;
    }
    return true;
}

std::string numberedFrameName(const std::string& prefix, unsigned long long frame) {
    char number[16];
    std::snprintf(number, sizeof number, "%06llu", frame);
    return prefix + "-" + number + ".png";
}

// Output names stay relative to where the tool was started, not to --dir.
void anchorOutputPaths(CaptureOptions* options) {
    const std::filesystem::path start = std::filesystem::current_path();
    options->out = (start / options->out).string();
    if (options->every != 0) {
        options->everyPrefix = (start / options->everyPrefix).string();
    }
}

bool renderFrames(const CaptureOptions& options) {
    backgroundSetMode(options.background);
    setupGLWithSeed(options.seed);
    simSettingsApply(options.sim);
    createScene();
    bodyLooksCreate();
    frameStartLongRun(options.view, options.renew, options.seed);
    resizeViewport(options.width, options.height);
    const double step = simSettingsScaleStep(options.dt);
    for (unsigned long long frame = 1; frame <= options.frames; frame++) {
        stepAndDrawFrame(step);
        if (options.every != 0 && frame % options.every == 0 &&
            !writeBackBufferPng(numberedFrameName(options.everyPrefix, frame), options.width,
                                options.height)) {
            return false;
        }
    }
    return writeBackBufferPng(options.out, options.width, options.height);
}

} // namespace

int main(int argc, char** argv) {
    CaptureOptions options;
    if (!parseOptions(argc, argv, &options)) {
        std::fputs(kUsage, stderr);
        return kUsageStatus;
    }
    anchorOutputPaths(&options);
    if (!options.dir.empty()) {
        std::error_code error;
        std::filesystem::current_path(options.dir, error);
        if (error) {
            std::fprintf(stderr, "velmorin-capture: cannot enter %s: %s\n", options.dir.c_str(),
                         error.message().c_str());
            return kFailureStatus;
        }
    }
    setErrorReporter(printCaptureError);
    // The same places the demo looks in, so an installed copy finds the installed pictures.
    setPictureFolder(findPictureFolder(nullptr, platformExecutableDir(), pictureFileExists));
    if (!rendererSelect(options.renderer)) {
        std::fputs("velmorin-capture: this build has no such renderer\n", stderr);
        return kFailureStatus;
    }
    const PlatformGLFlavour flavour = options.renderer == RendererKind::Gles2
                                          ? PlatformGLFlavour::Es2
                                          : PlatformGLFlavour::Compatibility;
    if (!platformInit(PlatformVideo::Offscreen) ||
        !platformCreateWindow("velmorin-capture", options.width, options.height, flavour)) {
        std::fputs("velmorin-capture: no offscreen GL context\n", stderr);
        platformShutdown();
        return kFailureStatus;
    }
    const bool written = renderFrames(options);
    worldReset();
    platformShutdown();
    return written ? 0 : kFailureStatus;
}
