// Metal pictures for the spheres.
#pragma once

#include "pictures/image.h"

// Riveted plates of blue-grey brushed steel, the grain turning from plate to plate. 256 x 128.
Image paintMetal1();
// Hammered copper, dented all over, with green verdigris in patches. 256 x 128.
Image paintMetal2();
