// Creation of the scene: the five bodies, their appearance, the centre of mass.
#include "sim/scene.h"

#include <new>

#include "sim/gravity_list.h"
#include "sim/random.h"
#include "sim/world.h"

const char* const kTextureFiles[kTextureFileCount] = {
    "bitmap/rock1.bmp",  "bitmap/rock3.bmp",  "bitmap/rock4.bmp",  "bitmap/rock5.bmp",
    "bitmap/rock6.bmp",  "bitmap/water1.bmp", "bitmap/water2.bmp", "bitmap/water3.bmp",
    "bitmap/metal1.bmp", "bitmap/metal2.bmp", "bitmap/cloud1.bmp", "bitmap/cloud2.bmp",
};

namespace {

SceneAppearance installedAppearance;

} // namespace

void sceneSetAppearance(const SceneAppearance& appearance) {
    installedAppearance = appearance;
}

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
    const int textureIndex = textureIndexFromUniform(randomUniform());
    body->texture = installedAppearance.loadBodyTexture != nullptr
                        ? installedAppearance.loadBodyTexture(textureIndex)
                        : 0;
    body->displayList = installedAppearance.compileSphereList != nullptr
                            ? installedAppearance.compileSphereList(body)
                            : 0;
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
