// The GL 1.1 sphere quadric rebuilt as an indexed triangle mesh, vertex for vertex.
#pragma once

#include <cstdint>
#include <vector>

struct SphereVertex {
    float position[3];
    float normal[3];
    float texCoord[2];
};

// Smooth normals pointing outwards and texture coordinates, with the quadric's own pole axis
// (z); the caller stands it on y. The quadric draws one quad strip per stack, from the +z pole
// down, and each quad as two triangles split along the same diagonal as the GL rasteriser does.
struct SphereMesh {
    std::vector<SphereVertex> vertices;
    std::vector<uint16_t> triangles; // three indices each
    // The normal the quadric leaves set after its last vertex; later points are lit with it.
    float lastNormal[3];
};

SphereMesh sphereMeshBuild(double radius, int slices, int stacks);
