// Collision stage of the physics step: elastic bounce along the line of centres, plus a nudge.
#pragma once

#include <cstdint>

#include "math/vector.h"
#include "sim/body.h"

// Seconds ahead that the approach test predicts both centres; independent of the step's dt.
inline constexpr double kContactLookahead = 0.0001;
// Extra separating speed per unit of the other body's mass.
inline constexpr double kCollisionNudge = 0.0037534;

// Decides from the step's snapshot whether bodies i and j overlap and approach; if so (or if the
// pair was already found colliding from j's side), adds body i's share to its live velocity.
void collidePair(uint32_t i, uint32_t j);
// Velocity change of a from its elastic collision with b, both start-of-step copies.
Vector collisionResponse(const GravityObject* a, const GravityObject* b);
