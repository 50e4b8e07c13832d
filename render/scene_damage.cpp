// Bodies to damage rectangles: eye coordinates as the frame's translations make them.
#include "render/scene_damage.h"

#include "render/frame.h"
#include "sim/spray.h"
#include "sim/world.h"

namespace {

// A world point in eye coordinates: the view centred on the bodies' starting mass centre, the
// scene frame kCameraDistance down -z.
void toEye(Vertex world, double* eye) {
    eye[0] = world.x - centerOfMass.x;
    eye[1] = world.y - centerOfMass.y;
    eye[2] = world.z - centerOfMass.z - kCameraDistance;
}

} // namespace

void sceneDamageAddBodies(DamageList* list, const DamageView& view, SceneBounds* bounds,
                          double pointSize) {
    double xyz[3 * kMaxParticles];
    for (uint32_t i = 0; i < gravityListCount(&bodies) && !list->whole; i++) {
        const GravityObject* body = gravityListGet(&bodies, i);
        double centre[3];
        toEye(getPosition(body), centre);
        bounds->sphere[i] = damageListAddSphere(list, view, centre, body->radius);
        for (uint32_t p = 0; p < body->particleCount; p++) {
            toEye(body->particles[p]->position, &xyz[3 * p]);
        }
        bounds->spray[i] =
            damageListAddPoints(list, view, xyz, static_cast<int>(body->particleCount), pointSize);
    }
}
