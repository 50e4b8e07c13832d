// Cloud pictures for the spheres.
#pragma once

#include "pictures/image.h"

// Billowing white clouds with grey-blue undersides over a blue sky. 256 x 256.
Image paintCloud1();
// Sunset-coloured cloud bands swirling round the sphere, with one storm eye. 95 x 77: not a
// power of two, and rows of 285 bytes that need 3 bytes of padding.
Image paintCloud2();
