// The records of the simulation: one sphere, one spray point, and their accessors.
#pragma once

#include <cstdint>

#include "math/vector.h"

inline constexpr uint32_t kMaxBodies = 20;
inline constexpr uint32_t kBodyCount = 5;
inline constexpr uint32_t kMaxParticles = 100;

// Density times 4/3 pi: a sphere's mass is this times radius cubed.
inline constexpr double kMassPerCubicRadius = 83.7758040957278;

struct Particle {
    Vertex position;
    Vector velocity;
};

struct GravityObject {
    int textureIndex = 0; // which picture the body wears, chosen at random when it is made
    Vector pull;          // velocity change gathered from gravity in the current step
    Vector velocity;      // world units per second
    Vertex position;      // centre of the sphere, world units
    double radius = 0.0;
    double mass = 0.0;
    Vector spin; // carried along, never used
    // The spray, newest first; only the first particleCount entries are valid.
    Particle* particles[kMaxParticles] = {};
    uint32_t particleCount = 0;
    float sprayColor[4] = {0.0f, 0.0f, 0.0f, 0.0f}; // RGBA emission colour of the spray
    double inertia = 0.0;
};

// Gives a freshly allocated body its place, size, mass and inertia from four random draws
// (x, y, an unused third, radius). Its appearance comes later, from the scene.
void gravityObjectInit(GravityObject* body);

inline Vector getPull(const GravityObject* body) {
    return body->pull;
}
inline void setPull(GravityObject* body, Vector pull) {
    body->pull = pull;
}
inline Vector getVelocity(const GravityObject* body) {
    return body->velocity;
}
inline void setVelocity(GravityObject* body, Vector velocity) {
    body->velocity = velocity;
}
inline Vertex getPosition(const GravityObject* body) {
    return body->position;
}
inline void setPosition(GravityObject* body, Vertex position) {
    body->position = position;
}
inline double getRadius(const GravityObject* body) {
    return body->radius;
}
inline double getMass(const GravityObject* body) {
    return body->mass;
}
