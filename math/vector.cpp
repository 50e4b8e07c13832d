// Operations on Vector, the direction-and-magnitude form.
#include "math/vector.h"

Vector vectorFromVertex(Vertex v) {
    return vectorNormalize(Vector{v, 0.0});
}

Vertex vectorToVertex(Vector d) {
    return {d.dir.x * d.mag, d.dir.y * d.mag, d.dir.z * d.mag};
}

double vectorLength(Vector d) {
    return vertexLength(d.dir);
}

Vector vectorNormalize(Vector d) {
    const double length = vectorLength(d);
    if (length == 0.0) {
        return {};
    }
    return {{d.dir.x / length, d.dir.y / length, d.dir.z / length}, length};
}

Vector vectorAdd(Vector a, Vector b) {
    if (a.mag == 0.0) {
        return b;
    }
    const Vertex sum{a.dir.x * a.mag + b.dir.x * b.mag, a.dir.y * a.mag + b.dir.y * b.mag,
                     a.dir.z * a.mag + b.dir.z * b.mag};
    return vectorFromVertex(sum);
}

Vector vectorSub(Vector a, Vector b) {
    const Vertex difference{a.dir.x * a.mag - b.dir.x * b.mag, a.dir.y * a.mag - b.dir.y * b.mag,
                            a.dir.z * a.mag - b.dir.z * b.mag};
    return vectorFromVertex(difference);
}

Vector vectorScale(Vector a, double s) {
    return {a.dir, a.mag * s};
}
