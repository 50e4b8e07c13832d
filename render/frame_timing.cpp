// The plain mean of frame intervals, with pauses left out, turned into the physics time step.
#include "render/frame_timing.h"

#include "render/frame_clock.h"
#include "sim/settings.h"

uint32_t lastClockMs = 0;
double meanFrameTime = 0.0;
int64_t frameCount = 0;

namespace {

constexpr double kSecondsPerMillisecond = 0.001;

// Whether the previous interval was long: a second long one in a row is how a lasting slowdown
// (a bigger window on software GL, a loaded machine) shows, and the mean must follow it.
bool previousWasLong = false;

// The first frame's interval is two back-to-back readings, not a real frame, so nothing is
// compared with the mean until a real interval is in it. A monotonic clock gives a negative
// interval only when a gap of over 24 days wrapped its 32-bit milliseconds: a pause too.
bool isPause(double elapsed) {
    const bool longInterval =
        elapsed < 0.0 || (elapsed > kPauseMinSeconds && elapsed > kPauseMeanFactor * meanFrameTime);
    const bool pause = longInterval && !previousWasLong && frameCount >= 2;
    previousWasLong = longInterval;
    return pause;
}

} // namespace

double frameTimingNextDt() {
    uint32_t now = frameClockRead();
    if (lastClockMs == 0) {
        // The first frame measures two back-to-back readings, normally 0.
        lastClockMs = now;
        now = frameClockRead();
    }
    const double elapsed = static_cast<int32_t>(now - lastClockMs) * kSecondsPerMillisecond;
    lastClockMs = now;
    if (!isPause(elapsed)) {
        const auto count = static_cast<double>(frameCount);
        meanFrameTime = (count * meanFrameTime + elapsed) / (count + 1.0);
        frameCount += 1;
    }
    return simSettingsScaleStep(kTimeScale * meanFrameTime);
}

void frameTimingReset() {
    lastClockMs = 0;
    meanFrameTime = 0.0;
    frameCount = 0;
    previousWasLong = false;
}
