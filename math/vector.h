// Vector: a direction and a separate magnitude, standing for dir * mag.
#pragma once

#include "math/vertex.h"

// Normal form: |dir| = 1 with mag > 0, or dir = (0, 0, 0) with mag = 0. vectorScale may leave
// mag negative, and callers may write the fields directly; every operation below works on the
// vector dir * mag all the same, except vectorLength and vectorNormalize, which read dir alone.
struct Vector {
    Vertex dir;
    double mag = 0.0;
};

Vector vectorFromVertex(Vertex v);
Vertex vectorToVertex(Vector d);
// Length of dir only; mag plays no part.
double vectorLength(Vector d);
// Rebuilds the normal form from dir alone, ignoring mag.
Vector vectorNormalize(Vector d);
// Returns b untouched, bit for bit, when a.mag is exactly 0; otherwise the normal form of a + b.
Vector vectorAdd(Vector a, Vector b);
// Always the normal form of a - b; there is no short path.
Vector vectorSub(Vector a, Vector b);
// Scales mag only: dir is kept as it is, so a negative s leaves a negative mag.
Vector vectorScale(Vector a, double s);
