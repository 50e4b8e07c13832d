// The Win32 frame cap: the portable schedule, waited for with the message queue watched.
#include "app/win32/win32_pacing.h"

#include <windows.h>

#include <mmsystem.h>

#include "app/frame_pacer.h"

namespace {

constexpr int64_t kNanosecondsPerMillisecond = 1000000;
// Waits are in whole milliseconds and may end a little late. So the wait ends about a
// millisecond before the frame is due, and a frame due within kEarlyStartNs starts at once: a
// little early keeps the schedule, while a late start would begin a new one and the rate sag.
constexpr int64_t kEarlyStartNs = 2 * kNanosecondsPerMillisecond;
// Everything but paint requests, which are always pending while frames run.
constexpr DWORD kWakeOnMessages = QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE | QS_TIMER | QS_HOTKEY;

FramePacer pacer;
bool capped = false;
bool frameBooked = false;
int64_t bookedStartNs = 0;

} // namespace

void win32PacingInit(uint32_t maxFps, bool vsyncHoldsRate) {
    framePacerInit(&pacer, maxFps, vsyncHoldsRate);
    capped = maxFps != 0;
    frameBooked = false;
    if (capped) {
        // Waits otherwise round up to the system tick (often 15.6 ms), and 60 frames a second
        // could not be reached. The process's request ends with the process.
        timeBeginPeriod(1);
    }
}

bool win32PacingFrameDue() {
    if (!capped) {
        return true;
    }
    if (!frameBooked) {
        const int64_t now = steadyNanoseconds();
        bookedStartNs = now + framePacerDelay(&pacer, now);
        frameBooked = true;
    }
    for (;;) {
        const int64_t remainingNs = bookedStartNs - steadyNanoseconds();
        if (remainingNs < kEarlyStartNs) {
            frameBooked = false;
            return true;
        }
        const DWORD waitMs = static_cast<DWORD>(remainingNs / kNanosecondsPerMillisecond - 1);
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, waitMs, kWakeOnMessages) ==
            WAIT_OBJECT_0) {
            return false;
        }
    }
}
