// Particle sprays: each body throws up to kMaxParticles points from its top, recycled oldest first.
#pragma once

#include "sim/body.h"

// Emits a new particle (or relaunches the oldest once the spray has the settings' number of
// points), puts it in front, then bends and moves every particle of the body by one step of dt.
// Two random draws per call; none, and no particle, when the settings ask for no spray.
// The drawing of the points is a separate step of the renderer.
void updateSpray(GravityObject* body, double dt);

// Allocates and launches a particle and counts it in the body's spray (it is not yet placed in
// the array). Returns null, counting nothing, when no memory can be had.
Particle* newParticle(GravityObject* body);
void relaunchParticle(Particle* particle, const GravityObject* body);
// Places the particle at the top of the sphere with the body's velocity plus a random kick.
void launchParticle(Particle* particle, const GravityObject* body);
// Shifts entries 0 .. particleCount-2 one place back and stores the particle in entry 0.
void pushFrontParticle(Particle* particle, GravityObject* body);
// Lowers the vertical component of the velocity vector by kGravity * dt.
void applyParticleGravity(Particle* particle, double dt);
// Moves dt units along the velocity's direction: the speed itself is deliberately not applied.
void advanceParticle(Particle* particle, double dt);
