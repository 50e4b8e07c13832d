// Frames drawn per second, measured over whole seconds of wall-clock time.
#pragma once

#include <cstdint>

struct FpsCounter {
    int64_t windowStartNs = 0;
    uint32_t framesInWindow = 0;
    bool started = false;
    double framesPerSecond = 0.0; // of the last complete window; 0 until the first ends
};

// Counts one frame drawn at nowNs; true when the figure has just been renewed.
bool fpsCounterTick(FpsCounter* counter, int64_t nowNs);
// "12.3 fps", or "-- fps" before the first second is over.
void fpsCounterFormat(const FpsCounter& counter, char* text, int size);
