// The damage of the scene's bodies: where each sphere and its spray fall in the window.
#pragma once

#include "render/damage.h"

// Adds the bound of every sphere and of every spray, as the frame places them before the eye.
void sceneDamageAddBodies(DamageList* list, const DamageView& view);
