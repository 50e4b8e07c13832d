// Operations on Vertex.
#include "math/vertex.h"

#include <cmath>

Vertex vertexSub(Vertex a, Vertex b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

double vertexDot(Vertex a, Vertex b) {
    double sum = a.x * b.x;
    sum = sum + a.y * b.y;
    sum = sum + a.z * b.z;
    return sum;
}

Vertex vertexScale(Vertex a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}

double vertexLength(Vertex a) {
    double sumOfSquares = a.x * a.x;
    sumOfSquares = sumOfSquares + a.y * a.y;
    sumOfSquares = sumOfSquares + a.z * a.z;
    return std::sqrt(sumOfSquares);
}

Vertex vertexNormalize(Vertex a) {
    const double length = vertexLength(a);
    if (length == 0.0) {
        return {};
    }
    return {a.x / length, a.y / length, a.z / length};
}
