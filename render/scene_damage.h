// The damage of the scene's bodies: where each sphere and its spray fall in the window.
#pragma once

#include "render/damage.h"
#include "sim/body.h"

// Each body's sphere and spray as rectangles of the drawable (empty: off it), so that a part of
// the frame draws only the bodies that reach into it.
struct SceneBounds {
    DamageRect sphere[kMaxBodies];
    DamageRect spray[kMaxBodies];
};

// Adds the bound of every sphere and of every spray (its points pointSize pixels across), as
// the frame places them before the eye, and keeps each in bounds.
void sceneDamageAddBodies(DamageList* list, const DamageView& view, SceneBounds* bounds,
                          double pointSize);
