// What both desktop shells do alike once their GL context is current: the scene as the options
// ask, and the frame-rate text over each frame.
#pragma once

#include "app/fps_counter.h"
#include "app/options.h"

// Fixed GL state, the generator seeded (from --seed or the clock), the light and background,
// then the options' settings and the bodies with their textures, and the view and renewal the
// mode asks for. The seed comes first: the scene draws from it.
void shellCreateScene(const DemoOptions& options);
// Counts the frame and draws the measured rate at the top-left of a width by height drawable.
void shellDrawFrameRate(FpsCounter* counter, int width, int height);
// The counting half alone: counts the frame and writes the rate's text, of at most
// kShellFrameRateTextSize bytes.
inline constexpr int kShellFrameRateTextSize = 32;
void shellFrameRateText(FpsCounter* counter, char* text);
