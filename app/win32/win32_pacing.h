// The frame cap of the Win32 shell, kept in the paint path: it rests until the next frame is due
// and lets every message that comes meanwhile through first.
#pragma once

#include <cstdint>

// 0: no cap, frames follow one another as fast as paint messages come. vsyncHoldsRate: the
// driver waits for the refresh on each swap (see framePacerInit).
void win32PacingInit(uint32_t maxFps, bool vsyncHoldsRate);
// True when the frame may be drawn now. False when a message arrived during the rest: the paint
// handler then returns with the window still invalid, the loop serves the message and the next
// paint message rests for what is left of the same wait.
bool win32PacingFrameDue();
