// A spray's points handed to the renderer.
#include "render/spray_draw.h"

#include "render/renderer.h"
#include "sim/spray.h"

void drawSprayPoints(const GravityObject* body) {
    float xyz[3 * kMaxParticles];
    for (uint32_t i = 0; i < body->particleCount; i++) {
        const Vertex p = body->particles[i]->position;
        xyz[3 * i] = static_cast<float>(p.x);
        xyz[3 * i + 1] = static_cast<float>(p.y);
        xyz[3 * i + 2] = static_cast<float>(p.z);
    }
    rendererDrawPoints(body->sprayColor, xyz, body->particleCount);
}
