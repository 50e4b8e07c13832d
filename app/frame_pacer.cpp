// Frame cap arithmetic: a schedule of frame starts one period apart.
#include "app/frame_pacer.h"

#include <chrono>

namespace {

constexpr int64_t kNanosecondsPerSecond = 1000000000;
// Under vsync: a frame due within an eighth of a period (2 ms at 60 Hz) is the swap's to time.
constexpr int64_t kVsyncToleranceDivisor = 8;

} // namespace

int64_t steadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void framePacerInit(FramePacer* pacer, uint32_t maxFps, bool vsyncHoldsRate) {
    *pacer = FramePacer{};
    pacer->periodNs = maxFps == 0 ? 0 : kNanosecondsPerSecond / maxFps;
    pacer->toleranceNs = vsyncHoldsRate ? pacer->periodNs / kVsyncToleranceDivisor : 0;
}

int64_t framePacerDelay(FramePacer* pacer, int64_t nowNs) {
    if (pacer->periodNs == 0) {
        return 0;
    }
    if (!pacer->started || pacer->nextFrameNs - nowNs <= pacer->toleranceNs) {
        pacer->started = true;
        pacer->nextFrameNs = nowNs;
    }
    const int64_t start = pacer->nextFrameNs > nowNs ? pacer->nextFrameNs : nowNs;
    pacer->nextFrameNs = start + pacer->periodNs;
    return start - nowNs;
}
