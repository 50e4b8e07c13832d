// The physics step: constant-strength attraction, collisions, semi-implicit integration.
#pragma once

#include "math/vector.h"
#include "sim/body.h"

// Attraction per unit of mass product, whatever the distance; also the sprays' downward pull.
inline constexpr double kGravity = 0.66726;

// Advances every body in `bodies` by dt seconds: snapshot, pair interactions (collision first,
// then gravity gathered into pull), integration, contact flags cleared.
void physicsStep(double dt);

// Pull of b on a: dir from b's centre to a's, mag -(m_b * m_a * kGravity), so that dir * mag points
// towards b. The distance is deliberately not used.
Vector gravityForce(const GravityObject* a, const GravityObject* b);
// (f.mag / m) * dt along f.dir, divided first, then multiplied.
Vector forceToVelocityChange(Vector force, double mass, double dt);
// velocity + pull * dt, with the velocity as vectorAdd's first operand.
Vector advanceVelocity(Vector pull, Vector velocity, double dt);
// position + (dir * mag) * s, component by component.
Vertex advancePosition(Vector velocity, Vertex position, double s);
