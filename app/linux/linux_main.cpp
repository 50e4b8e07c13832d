// Velmorin's entry point: the command line, start-up in its fixed order, then frames until the
// loop is told to end.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "app/exit_handlers.h"
#include "app/frame_pacer.h"
#include "app/linux/linux_settings_file.h"
#include "app/linux/linux_window.h"
#include "app/options.h"
#if defined(VELMORIN_WAYLAND)
#include "app/linux/linux_layers.h"
#include "platform/wayland/platform_wayland.h"
#endif
#include "common/picture_search.h"
#include "platform/platform.h"
#include "render/error_report.h"
#include "render/picture_folder.h"

namespace {

void restBeforeFrame(FramePacer* pacer) {
    const int64_t delayNs = framePacerDelay(pacer, steadyNanoseconds());
    if (delayNs > 0) {
        std::this_thread::sleep_for(std::chrono::nanoseconds(delayNs));
    }
}

// The display's refresh rate, and whether vsync holds it, are known only once the window is on
// a display, and change when it moves to another.
void startPacing(FramePacer* pacer, const DemoOptions& options) {
    framePacerInit(pacer, effectiveMaxFps(options, platformRefreshRate()), platformVsyncActive());
}

void runMessageLoop(FramePacer* pacer, const DemoOptions& options) {
    while (windowServeEvents()) {
        if (windowTakeDisplayChange()) {
            startPacing(pacer, options);
        }
        if (windowHidden()) {
            windowRestWhileHidden();
            continue;
        }
        restBeforeFrame(pacer);
        windowPaint();
    }
}

// Help, version and bad usage end here, before anything is shown or changed. -1: go on.
int answerCommandLine(OptionsVerdict verdict) {
    switch (verdict) {
    case OptionsVerdict::Help:
        std::fputs(kHelpText, stdout);
        return 0;
    case OptionsVerdict::Version:
        std::printf("%s\n", kVersionText);
        return 0;
    case OptionsVerdict::BadUsage:
        std::fputs(kUsageLine, stderr);
        return kUsageStatus;
    case OptionsVerdict::Run:
        break;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    DemoOptions options;
    const char* saverWindowEnv = std::getenv("XSCREENSAVER_WINDOW");
    const int answered = answerCommandLine(parseDemoOptions(argc, argv, saverWindowEnv, &options));
    if (answered >= 0) {
        return answered;
    }
    // Every mode option starts from the settings file; the plain demo is always the same.
    SettingsFile settingsFile; // what options may point into
    if (options.mode != WindowMode::SwitchedFullScreen) {
        const int status =
            linuxApplySettingsFile(argc, argv, saverWindowEnv, &settingsFile, &options);
        if (status >= 0) {
            return status;
        }
    }
    installExitHandlers();
    // The wallpaper draws on the root window as --root does, and behaves as a hosted saver.
    const bool hosted = options.mode == WindowMode::Saver || options.mode == WindowMode::Wallpaper;
    // A screensaver never puts a box in front of its host: its errors go to standard error.
    setErrorReporter(hosted ? nullptr : showErrorBox);
    setPictureFolder(
        findPictureFolder(options.picturesDir, platformExecutableDir(), pictureFileExists));
#if defined(VELMORIN_WAYLAND)
    // On Wayland the wallpaper and the saver are layer surfaces, which SDL cannot make; without
    // a connection after all they fall through to X11.
    if ((options.mode == WindowMode::Wallpaper || options.mode == WindowMode::StandaloneSaver) &&
        platformWaylandWanted()) {
        setErrorReporter(nullptr); // no box over the desktop: one line on standard error
        const int status = layersRun(options);
        if (status >= 0) {
            return status;
        }
    }
#endif
    if (!platformInit(hosted ? PlatformVideo::Hosted : PlatformVideo::Display)) {
        setErrorReporter(nullptr); // no screen to show a box on: standard error it is
        reportError("Could not register window");
        return 0;
    }
    if (!windowCreate(options)) {
        reportError("Could not create window");
        return 0;
    }
    platformShowWindow();
    if (options.mode == WindowMode::SwitchedFullScreen &&
        !platformEnterDisplayMode(kScreenWidth, kScreenHeight)) {
        reportError("Could not change display settings");
        return 0;
    }
    FramePacer pacer;
    startPacing(&pacer, options);
    exitOnPendingSignal();
    restBeforeFrame(&pacer);
    windowPaint();
    if (options.mode == WindowMode::SwitchedFullScreen || options.mode == WindowMode::Desktop ||
        options.mode == WindowMode::StandaloneSaver) {
        platformHideCursor();
    }
    runMessageLoop(&pacer, options);
    return 0;
}
