// bodyLooksCreate: each body's picture loaded and its sphere made in body order, failures reported.
#include "render/body_looks.h"

#include <cstring>

#include "render/error_report.h"
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

namespace {

// A picture worn by several bodies is one texture (see bodyLooksAttach), released once.
void releaseBodyLooks() {
    for (uint32_t i = 0; i < kMaxBodies; i++) {
        rendererDeleteSphere(bodyLooks[i].sphere);
        bool sharedWithEarlier = false;
        for (uint32_t j = 0; j < i; j++) {
            sharedWithEarlier = sharedWithEarlier || bodyLooks[j].texture == bodyLooks[i].texture;
        }
        if (!sharedWithEarlier) {
            rendererDeleteTexture(bodyLooks[i].texture);
        }
    }
    for (BodyLook& look : bodyLooks) {
        look = BodyLook{};
    }
}

} // namespace

void bodyLooksCreate() {
    releaseBodyLooks();
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        const GravityObject* body = gravityListGet(&bodies, i);
        ImageRecord scratch{};
        BodyLook& look = bodyLooks[i];
        look.texture =
            loadTexture(picturePath(kTextureFiles[body->textureIndex]).c_str(), &scratch);
        look.sphere = rendererCreateSphere(body->radius, look.texture);
    }
}

void bodyLooksRenew() {
    const ErrorReporter reporter = currentErrorReporter();
    setErrorReporter(nullptr); // the default sink: standard error
    bodyLooksCreate();
    setErrorReporter(reporter);
}

void bodyLooksCreateBare() {
    releaseBodyLooks();
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        bodyLooks[i].sphere = rendererCreateSphere(gravityListGet(&bodies, i)->radius, 0);
    }
}

void bodyLooksAttach(const char* name) {
    bool loaded = false;
    uint32_t texture = 0;
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        const GravityObject* body = gravityListGet(&bodies, i);
        if (std::strcmp(kTextureFiles[body->textureIndex], name) != 0) {
            continue;
        }
        if (!loaded) {
            ImageRecord scratch{};
            texture = loadTexture(picturePath(name).c_str(), &scratch);
            loaded = true;
        }
        // A body still bare wears no texture, so only its sphere goes.
        rendererDeleteSphere(bodyLooks[i].sphere);
        bodyLooks[i] = {texture, rendererCreateSphere(body->radius, texture)};
    }
}

void bodyLooksForget() {
    for (BodyLook& look : bodyLooks) {
        look = BodyLook{};
    }
}
