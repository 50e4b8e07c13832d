// The generator's state, its seeding and its 15-bit outputs.
#include "sim/random.h"

namespace {

constexpr uint32_t kMultiplier = 22695477u;
constexpr uint32_t kIncrement = 1u;

uint32_t randomState = 1u;

} // namespace

void randomSeed(uint32_t seed) {
    randomState = seed;
    (void)randomNext();
}

int randomNext() {
    // Unsigned arithmetic wraps modulo 2^32, which is exactly the sequence wanted.
    randomState = randomState * kMultiplier + kIncrement;
    return static_cast<int>((randomState >> 16) & 0x7FFFu);
}

double randomUniform() {
    return static_cast<double>(randomNext()) / static_cast<double>(kRandomMax);
}
