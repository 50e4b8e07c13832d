// updateSpray: launch or recycle one particle per frame, then gravity and motion for each.
#include "sim/spray.h"

#include <new>

#include "sim/physics.h"
#include "sim/random.h"
#include "sim/settings.h"

namespace {

constexpr double kSidewaysKickCentre = 0.5; // a uniform draw minus this gives [-0.5, 0.5]
// Upward kick kLiftScale * (kLiftReach - radius): 2.0 for the smallest sphere, 0.4 for the largest.
constexpr double kLiftReach = 0.6;
constexpr double kLiftScale = 4.0;

} // namespace

void launchParticle(Particle* particle, const GravityObject* body) {
    particle->position = getPosition(body);
    particle->position.y += getRadius(body);
    particle->velocity = getVelocity(body);
    Vector& velocity = particle->velocity;
    // The kick is added to the body's velocity as a plain vector, written into dir and then
    // renormalised; mag still holds the body's speed until then.
    velocity.dir.x = (randomUniform() + velocity.dir.x * velocity.mag) - kSidewaysKickCentre;
    velocity.dir.y = (kLiftReach - getRadius(body)) * kLiftScale + velocity.dir.y * velocity.mag;
    velocity.dir.z = (randomUniform() + velocity.dir.z * velocity.mag) - kSidewaysKickCentre;
    velocity = vectorNormalize(velocity);
}

Particle* newParticle(GravityObject* body) {
    Particle* particle = new (std::nothrow) Particle{};
    if (particle == nullptr) {
        return nullptr;
    }
    launchParticle(particle, body);
    body->particleCount += 1;
    return particle;
}

void relaunchParticle(Particle* particle, const GravityObject* body) {
    launchParticle(particle, body);
}

void pushFrontParticle(Particle* particle, GravityObject* body) {
    for (uint32_t i = body->particleCount > 0 ? body->particleCount - 1 : 0; i >= 1; i--) {
        body->particles[i] = body->particles[i - 1];
    }
    body->particles[0] = particle;
}

void applyParticleGravity(Particle* particle, double dt) {
    Vertex velocity = vectorToVertex(particle->velocity);
    velocity.y = velocity.y - kGravity * dt;
    particle->velocity = vectorFromVertex(velocity);
}

void advanceParticle(Particle* particle, double dt) {
    const Vertex dir = particle->velocity.dir;
    particle->position.x += dir.x * dt;
    particle->position.y += dir.y * dt;
    particle->position.z += dir.z * dt;
}

void updateSpray(GravityObject* body, double dt) {
    Particle* particle = nullptr;
    if (body->particleCount < simSettingsCurrent().spray) {
        particle = newParticle(body);
    } else if (body->particleCount > 0) {
        particle = body->particles[body->particleCount - 1]; // the oldest
        relaunchParticle(particle, body);
    }
    // Out of memory: this frame emits nothing, but the spray already in the air still moves.
    if (particle != nullptr) {
        pushFrontParticle(particle, body);
    }
    for (uint32_t i = 0; i < body->particleCount; i++) {
        applyParticleGravity(body->particles[i], dt);
        advanceParticle(body->particles[i], dt);
    }
}
