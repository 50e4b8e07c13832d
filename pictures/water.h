// Water pictures for the spheres.
#pragma once

#include "pictures/image.h"

// Deep blue sea with a web of bright sunlit caustics. 256 x 256.
Image paintWater1();
// Turquoise lagoon over sandy shoals, with a few foam-ringed islands. 256 x 128.
Image paintWater2();
// Grey-green stormy sea in long swells, streaked with whitecaps. 128 x 128.
Image paintWater3();
