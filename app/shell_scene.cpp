// Scene set-up and the frame-rate text, shared by the SDL2 and Win32 shells.
#include "app/shell_scene.h"

#include <ctime>

#include "app/frame_pacer.h"
#include "render/background.h"
#include "render/body_looks.h"
#include "render/frame.h"
#include "render/renderer.h"
#include "sim/scene.h"
#include "sim/settings.h"

void shellCreateScene(const DemoOptions& options) {
    backgroundSetMode(effectiveBackground(options)); // setupGL makes what the mode draws
    // The clock's seed as setupGL takes it, kept: the renewed scenes follow from it.
    const uint32_t seed =
        options.seedGiven ? options.seed : static_cast<uint32_t>(std::time(nullptr));
    setupGLWithSeed(seed);
    simSettingsApply(options.sim);
    createScene();
    bodyLooksCreate();
    frameStartLongRun(effectiveView(options), effectiveRenew(options), seed);
}

void shellFrameRateText(FpsCounter* counter, char* text) {
    fpsCounterTick(counter, steadyNanoseconds());
    fpsCounterFormat(*counter, text, kShellFrameRateTextSize);
}

void shellDrawFrameRate(FpsCounter* counter, int width, int height) {
    char text[kShellFrameRateTextSize];
    shellFrameRateText(counter, text);
    rendererDrawText(text, width, height);
}
