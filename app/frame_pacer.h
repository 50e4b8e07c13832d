// Keeps frames under a cap by telling the loop how long to rest before each one.
#pragma once

#include <cstdint>

struct FramePacer {
    int64_t periodNs = 0;    // 0: no cap
    int64_t nextFrameNs = 0; // earliest start of the next frame
    // A frame due within this much starts at once and the schedule starts again from it.
    int64_t toleranceNs = 0;
    bool started = false;
};

// The steady clock the schedule is kept on, in nanoseconds from an arbitrary start.
int64_t steadyNanoseconds();

// vsyncHoldsRate: the driver waits for the refresh on each swap. Its refresh and the cap then
// never quite agree, and a schedule kept strictly would drift against it until a frame missed
// its refresh; so the schedule yields to the swap instead, and only a clearly early frame rests.
void framePacerInit(FramePacer* pacer, uint32_t maxFps, bool vsyncHoldsRate = false);
// Nanoseconds to wait, from nowNs, before the next frame may start; books that frame. A frame
// that comes late starts a new schedule rather than being followed by a burst that catches up,
// so no two frames ever start closer than one period (less the tolerance under vsync).
int64_t framePacerDelay(FramePacer* pacer, int64_t nowNs);
