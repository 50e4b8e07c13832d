// The frame clock: monotonic milliseconds, replaceable so tests can feed readings.
#pragma once

#include <cstdint>

// A reading in milliseconds; only differences matter, taken modulo 2^32 as signed numbers.
using FrameClockSource = uint32_t (*)();

// Null restores the monotonic clock of the machine.
void frameClockSetSource(FrameClockSource source);
uint32_t frameClockRead();
