// Scene set-up and the frame-rate text, shared by the SDL2 and Win32 shells.
#include "app/shell_scene.h"

#include "app/frame_pacer.h"
#include "render/background.h"
#include "render/body_looks.h"
#include "render/frame.h"
#include "render/renderer.h"
#include "sim/scene.h"
#include "sim/settings.h"

namespace {

constexpr int kFpsTextSize = 32;

} // namespace

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

void shellDrawFrameRate(FpsCounter* counter, int width, int height) {
    fpsCounterTick(counter, steadyNanoseconds());
    char text[kFpsTextSize];
    fpsCounterFormat(*counter, text, kFpsTextSize);
    rendererDrawText(text, width, height);
}
