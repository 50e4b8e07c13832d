// The picture behind the spheres, at its standard size or at any other.
#pragma once

#include <cstdint>

#include "pictures/image.h"

inline constexpr int kBackgroundWidth = 800;
inline constexpr int kBackgroundHeight = 600;
// Raised whenever the painted background changes, so that pictures kept from an older painter
// are not taken for the current one.
inline constexpr uint32_t kBackgroundPainterVersion = 2;

// Dusky violet-to-navy night with a diagonal drift of magenta and teal nebula, dark dust lanes
// and a scatter of stars. Dark enough for bright spheres to stand out; black nowhere.
Image paintBackground();
// The same sky at width x height: the standard picture scaled to cover it and centred, painted
// afresh, so it has finer gas and more, fainter stars at larger sizes, and stars stay a few
// pixels across at any size. Rows are shared among `threads` threads (at least one); the
// pixels are the same whatever their number.
Image paintBackgroundAt(int width, int height, int threads);
// The threads worth painting with here: one per core, and one where threads cannot be started.
int countPaintThreads();
