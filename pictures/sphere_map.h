// Where each texel of a sphere picture lands on the sphere, so pictures can be painted in 3D
// without a seam at the date line or smearing at the poles.
#pragma once

#include "math/vertex.h"
#include "pictures/image.h"

// sin and cos of an angle in whole turns (1 turn = 360 degrees), by a fixed polynomial so the
// result is the same on every machine, within 1e-9.
double sinTurns(double turns);
double cosTurns(double turns);

// One texel of an equirectangular picture: u runs once around the equator left to right,
// v from the north pole (top row) to the south pole (bottom row), both in [0, 1].
struct SphereTexel {
    double u = 0.0;
    double v = 0.0;
    Vertex point; // on the unit sphere, +z the north pole
};

SphereTexel locateSphereTexel(int x, int y, int width, int height);

// Calls shade(SphereTexel) -> Colour for every texel of a width x height sphere picture.
template <typename Shade>
Image paintSphere(int width, int height, Shade shade) {
    return paintImage(width, height,
                      [&](int x, int y) { return shade(locateSphereTexel(x, y, width, height)); });
}
