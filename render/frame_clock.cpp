// The steady clock in milliseconds, and the hook that lets tests hand in their own readings.
#include "render/frame_clock.h"

#include <chrono>

namespace {

// Counts from the first reading and starts at 1, because a reading of 0 means "no frame timed
// yet" to the frame timing. A monotonic clock never jumps at a change of month, day or
// wall-clock time, so no frame sees a huge or negative interval.
uint32_t readSteadyClock() {
    using Clock = std::chrono::steady_clock;
    static const Clock::time_point origin = Clock::now();
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - origin);
    return static_cast<uint32_t>(elapsed.count()) + 1u;
}

FrameClockSource clockSource = readSteadyClock;

} // namespace

void frameClockSetSource(FrameClockSource source) {
    clockSource = source != nullptr ? source : readSteadyClock;
}

uint32_t frameClockRead() {
    return clockSource();
}
