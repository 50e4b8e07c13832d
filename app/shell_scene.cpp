// Scene set-up and the frame-rate text, shared by the SDL2 and Win32 shells.
#include "app/shell_scene.h"

#include "app/frame_pacer.h"
#include "render/background.h"
#include "render/body_looks.h"
#include "render/frame.h"
#include "render/renderer.h"
#include "sim/scene.h"
#include "sim/settings.h"

void shellCreateScene(const DemoOptions& options) {
    backgroundSetMode(effectiveBackground(options)); // setupGL makes what the mode draws
    if (options.seedGiven) {
        setupGLWithSeed(options.seed);
    } else {
        setupGL();
    }
    simSettingsApply(options.sim);
    createScene();
    bodyLooksCreate();
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
