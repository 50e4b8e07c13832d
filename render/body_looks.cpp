// bodyLooksCreate: each body's picture loaded and its sphere made in body order, failures reported.
#include "render/body_looks.h"

#include "render/picture_folder.h"
#include "render/renderer.h"
#include "render/texture.h"
#include "sim/gravity_list.h"
#include "sim/world.h"

const char* const kTextureFiles[kTextureFileCount] = {
    "bitmap/rock1.bmp",  "bitmap/rock3.bmp",  "bitmap/rock4.bmp",  "bitmap/rock5.bmp",
    "bitmap/rock6.bmp",  "bitmap/water1.bmp", "bitmap/water2.bmp", "bitmap/water3.bmp",
    "bitmap/metal1.bmp", "bitmap/metal2.bmp", "bitmap/cloud1.bmp", "bitmap/cloud2.bmp",
};

BodyLook bodyLooks[kMaxBodies];

void bodyLooksCreate() {
    for (BodyLook& look : bodyLooks) {
        look = BodyLook{};
    }
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        const GravityObject* body = gravityListGet(&bodies, i);
        ImageRecord scratch{};
        BodyLook& look = bodyLooks[i];
        look.texture =
            loadTexture(picturePath(kTextureFiles[body->textureIndex]).c_str(), &scratch);
        look.sphere = rendererCreateSphere(body->radius, look.texture);
    }
}
