// How each body is drawn: its picture as a texture and its sphere, one record per body.
#pragma once

#include <cstdint>

#include "sim/body.h"
#include "sim/scene.h"

// The pictures a body can wear, by its textureIndex; relative to the picture folder.
extern const char* const kTextureFiles[kTextureFileCount];

// The renderer's objects for one body; 0 is "nothing" as everywhere in the renderer.
struct BodyLook {
    uint32_t texture = 0; // 0 when the picture could not be loaded: the sphere stays plain grey
    uint32_t sphere = 0;  // the lit sphere centred on the origin (under GL 1.1 a display list)
};

// Entry i draws entry i of bodies. Making the looks again releases the earlier ones; the last
// go with the context.
extern BodyLook bodyLooks[kMaxBodies];

// Releases the looks made before, then loads each body's picture and makes its sphere, one
// body after the other in body order, so any failure is reported in that order. Entries past
// the last body are cleared. Needs a current GL context and the scene already created.
void bodyLooksCreate();
// The same for a scene that replaced the first while the program runs: a picture that cannot
// be read is reported on standard error only, never in a box over the running scene.
void bodyLooksRenew();
// The same without reading any picture: every sphere plain grey, for a shell whose pictures
// are still being painted while the scene already runs.
void bodyLooksCreateBare();
// Once the picture named as in kTextureFiles exists: loads it once and remakes the sphere of
// every body wearing it, now textured. Bodies wearing other pictures keep their looks.
void bodyLooksAttach(const char* name);
// The context the looks were made in has gone with them: forgets them without releasing
// anything, so that making them again in the new context deletes nothing it does not know.
void bodyLooksForget();
