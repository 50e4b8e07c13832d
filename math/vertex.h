// Vertex: a plain three-component vector for positions and offsets.
#pragma once

struct Vertex {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// First operand minus the second.
Vertex vertexSub(Vertex a, Vertex b);
// Summed x, then y, then z, so the rounding is the same on every build.
double vertexDot(Vertex a, Vertex b);
Vertex vertexScale(Vertex a, double s);
double vertexLength(Vertex a);
// The unit vector along a; exactly (0, 0, 0) when the length is exactly 0.0, and only then.
Vertex vertexNormalize(Vertex a);
