// The frame timing: the mean of every frame interval, and the time step made from it.
#pragma once

#include <cstdint>

inline constexpr double kTimeScale = 1.5; // dt is this times the mean frame time
// An interval longer than both of these is a pause (a stopped process, a hidden tab, a
// minimised window, a sleeping machine), not a frame: it would make every later step too long.
inline constexpr double kPauseMinSeconds = 0.25;
inline constexpr double kPauseMeanFactor = 8.0;

extern uint32_t lastClockMs; // previous frame's clock reading; 0 before the first frame
extern double meanFrameTime; // seconds, mean of every frame interval since the start
// Frames timed so far. 64 bits: at hundreds of frames a second a 32-bit count overflows within
// weeks, and as a double it stays exact far beyond any run.
extern int64_t frameCount;

// Reads the clock, updates the mean and returns dt: kTimeScale times the mean, times the
// settings' speed. A pause enters neither the mean nor the count, so its frame keeps the current
// dt. A long interval that follows a long one alike is a lasting slowdown, and counts.
double frameTimingNextDt();
// The shell knows frames stopped (its window was hidden): the next interval is a pause, however
// short.
void frameTimingNoteGap();
// Back to "no frame timed yet".
void frameTimingReset();
