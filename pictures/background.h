// The picture behind the spheres.
#pragma once

#include "pictures/image.h"

inline constexpr int kBackgroundWidth = 800;
inline constexpr int kBackgroundHeight = 600;

// Dusky violet-to-navy night with a diagonal drift of magenta and teal nebula, dark dust lanes
// and a scatter of stars. Dark enough for bright spheres to stand out; black nowhere.
Image paintBackground();
