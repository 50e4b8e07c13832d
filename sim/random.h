// The program's one pseudo-random generator: a 32-bit linear congruential sequence.
#pragma once

#include <cstdint>

inline constexpr int kRandomMax = 32767;

// Sets the state to the seed and advances once, discarding that output.
void randomSeed(uint32_t seed);
// Next raw output, 0 to kRandomMax.
int randomNext();
// Next output as a double in [0, 1]: r / 32767.
double randomUniform();
