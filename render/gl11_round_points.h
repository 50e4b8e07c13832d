// Round, anti-aliased spray points under GL 1.1, which has no shaped points of its own that
// every driver draws round.
#pragma once

#include <cstdint>

// count points at xyz (three floats each) diameter pixels across, lit and glowing in the
// emission colour as GL points are, their rims fading over a pixel, blended over what is drawn.
// Every piece of state stays as it was.
void gl11DrawRoundPoints(const float emission[4], const float* xyz, uint32_t count, float diameter);
// Forgets the rim texture, which belonged to the context set up before.
void gl11ForgetRoundPoints();
