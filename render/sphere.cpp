// The GL half of a body's appearance: its picture as a texture and its sphere, made once.
#include "render/sphere.h"

#include "render/picture_folder.h"
#include "render/renderer.h"
#include "render/texture.h"
#include "sim/scene.h"

namespace {

uint32_t loadBodyTexture(int textureIndex) {
    ImageRecord scratch{};
    return loadTexture(picturePath(kTextureFiles[textureIndex]).c_str(), &scratch);
}

} // namespace

uint32_t compileSphereList(const GravityObject* body) {
    return rendererCreateSphere(body->radius, body->texture);
}

void installGLAppearance() {
    SceneAppearance appearance;
    appearance.loadBodyTexture = loadBodyTexture;
    appearance.compileSphereList = compileSphereList;
    sceneSetAppearance(appearance);
}
