// The plain mean of frame intervals, with pauses left out, turned into the physics time step.
#include "render/frame_timing.h"

#include "render/frame_clock.h"
#include "sim/settings.h"

uint32_t lastClockMs = 0;
double meanFrameTime = 0.0;
int64_t frameCount = 0;

namespace {

constexpr double kSecondsPerMillisecond = 0.001;
// A long interval after a long one is the same slowdown when it is at most this many times as
// long: slow frames come alike, while a pause (a stop, a hidden window) lasts as long as it likes.
constexpr double kSlowdownRatio = 2.0;

// The previous interval when it was long, else 0: a long one after it that is alike is how a
// lasting slowdown (a bigger window on software GL, a loaded machine) shows, and the mean must
// follow it.
double previousLong = 0.0;
// Set by the shell when it knows frames stopped (a hidden window): the next interval is a gap.
bool gapNoted = false;

// Right after the first frame the mean is that frame's two back-to-back readings, about 0, so
// the first real interval is a pause if it is over the quarter second: a slow machine's second
// frame then stands still, but a stop just after the first frame cannot make steps of seconds.
// A monotonic clock gives a negative interval only when a gap of over 24 days wrapped its
// 32-bit milliseconds: a pause too.
bool isPause(double elapsed) {
    const bool longInterval =
        elapsed < 0.0 || (elapsed > kPauseMinSeconds && elapsed > kPauseMeanFactor * meanFrameTime);
    const bool slowdown =
        longInterval && previousLong > 0.0 && elapsed <= kSlowdownRatio * previousLong;
    // A gap the shell noted was no frame, however long: what follows it is no slowdown.
    previousLong = longInterval && elapsed > 0.0 && !gapNoted ? elapsed : 0.0;
    const bool pause = gapNoted || (longInterval && !slowdown);
    gapNoted = false;
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

void frameTimingNoteGap() {
    gapNoted = lastClockMs != 0;
}

void frameTimingReset() {
    lastClockMs = 0;
    meanFrameTime = 0.0;
    frameCount = 0;
    previousLong = 0.0;
    gapNoted = false;
}
