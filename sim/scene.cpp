// createScene and initBodyAppearance: bodies built in order, eight draws each, then the centre
// of mass and a clear contact matrix.
#include "sim/scene.h"

#include <new>

#include "sim/gravity_list.h"
#include "sim/random.h"
#include "sim/world.h"

void randomSprayColor(float color[4]) {
    color[3] = 1.0f;
    color[0] = static_cast<float>(randomUniform());
    color[1] = static_cast<float>(randomUniform());
    color[2] = static_cast<float>(randomUniform());
}

int textureIndexFromUniform(double u) {
    const int index = static_cast<int>(kTextureFileCount * u);
    return index < kTextureFileCount ? index : kTextureFileCount - 1;
}

void initBodyAppearance(GravityObject* body) {
    randomSprayColor(body->sprayColor);
    body->textureIndex = textureIndexFromUniform(randomUniform());
}

void createScene() {
    double totalMass = 0.0;
    for (uint32_t i = 0; i < gravityListCapacity(&bodies); i++) {
        GravityObject* body = new (std::nothrow) GravityObject{};
        if (body == nullptr) {
            break; // fewer bodies is still a scene
        }
        gravityObjectInit(body);
        initBodyAppearance(body);
        gravityListPush(&bodies, body);
        const Vertex position = getPosition(body);
        centerOfMass.x = centerOfMass.x + position.x * getMass(body);
        centerOfMass.y = centerOfMass.y + position.y * getMass(body);
        centerOfMass.z = centerOfMass.z + position.z * getMass(body);
        totalMass += getMass(body);
    }
    if (totalMass != 0.0) {
        centerOfMass.x = centerOfMass.x / totalMass;
        centerOfMass.y = centerOfMass.y / totalMass;
        centerOfMass.z = centerOfMass.z / totalMass;
    }
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        for (uint32_t j = 0; j < gravityListCount(&bodies); j++) {
            contactMatrix[i][j] = 0;
        }
    }
}
