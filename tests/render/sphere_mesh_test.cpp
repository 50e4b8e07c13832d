// The GLES2 renderer's sphere mesh: the GL 1.1 quadric's vertices, normals and texture
// coordinates, in its order.
#include <cmath>

#include <gtest/gtest.h>

#include "render/sphere_mesh.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

double wide(float value) {
    return static_cast<double>(value);
}

double length(const float v[3]) {
    return std::sqrt(wide(v[0]) * wide(v[0]) + wide(v[1]) * wide(v[1]) + wide(v[2]) * wide(v[2]));
}

TEST(SphereMesh, OneQuadStripPerStackAsTwoTrianglesPerQuad) {
    const SphereMesh mesh = sphereMeshBuild(0.5, 10, 10);
    EXPECT_EQ(mesh.vertices.size(), 10u * 11u * 2u);
    EXPECT_EQ(mesh.triangles.size(), 10u * 10u * 2u * 3u);
    for (uint16_t index : mesh.triangles) {
        EXPECT_LT(index, mesh.vertices.size());
    }
}

TEST(SphereMesh, StripsRunFromThePlusZPoleWithTheQuadricsTextureCoordinates) {
    const SphereMesh mesh = sphereMeshBuild(0.5, 10, 10);
    // First strip: ring 1 then the pole, slice 0 first. The pole sits at t = 1, ring 1 at 0.9,
    // and s falls from 1 at slice 0 to 0 at slice 10.
    const SphereVertex& ringVertex = mesh.vertices[0];
    const SphereVertex& pole = mesh.vertices[1];
    EXPECT_FLOAT_EQ(pole.position[2], 0.5f);
    EXPECT_FLOAT_EQ(pole.position[0], 0.0f);
    EXPECT_FLOAT_EQ(pole.texCoord[1], 1.0f);
    EXPECT_FLOAT_EQ(ringVertex.texCoord[1], 0.9f);
    EXPECT_FLOAT_EQ(ringVertex.texCoord[0], 1.0f);
    // Slice 0 lies along +y: sin(pi/10) * 0.5 = 0.154508, z = cos(pi/10) * 0.5 = 0.475528.
    EXPECT_NEAR(ringVertex.position[1], 0.154508, 1e-6);
    EXPECT_NEAR(ringVertex.position[2], 0.475528, 1e-6);
    EXPECT_FLOAT_EQ(mesh.vertices[2 * 10].texCoord[0], 0.0f);
    // The last strip's last pair: the -z pole at t = 0, then ring 9 at t = 0.1.
    const SphereVertex& lowPole = mesh.vertices[mesh.vertices.size() - 2];
    EXPECT_FLOAT_EQ(lowPole.position[2], -0.5f);
    EXPECT_FLOAT_EQ(lowPole.texCoord[1], 0.0f);
    EXPECT_NEAR(mesh.vertices.back().texCoord[1], 0.1f, 1e-6f);
}

TEST(SphereMesh, NormalsAreUnitAndPointOutwards) {
    const SphereMesh mesh = sphereMeshBuild(0.25, 10, 10);
    for (const SphereVertex& v : mesh.vertices) {
        EXPECT_NEAR(length(v.normal), 1.0, 1e-6);
        for (int axis = 0; axis < 3; axis++) {
            EXPECT_NEAR(v.normal[axis] * 0.25f, v.position[axis], 1e-6);
        }
    }
}

TEST(SphereMesh, TrianglesFaceOutwardsSoCullingKeepsTheFront) {
    const SphereMesh mesh = sphereMeshBuild(0.5, 10, 10);
    int facing = 0;
    for (size_t t = 0; t < mesh.triangles.size(); t += 3) {
        const float* a = mesh.vertices[mesh.triangles[t]].position;
        const float* b = mesh.vertices[mesh.triangles[t + 1]].position;
        const float* c = mesh.vertices[mesh.triangles[t + 2]].position;
        const double u[3] = {wide(b[0]) - wide(a[0]), wide(b[1]) - wide(a[1]),
                             wide(b[2]) - wide(a[2])};
        const double w[3] = {wide(c[0]) - wide(a[0]), wide(c[1]) - wide(a[1]),
                             wide(c[2]) - wide(a[2])};
        const double cross[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2],
                                 u[0] * w[1] - u[1] * w[0]};
        const double outward =
            cross[0] * wide(a[0]) + cross[1] * wide(a[1]) + cross[2] * wide(a[2]);
        EXPECT_GE(outward, -1e-9); // the triangles at the poles that collapse to a line give 0
        facing += outward > 1e-9 ? 1 : 0;
    }
    EXPECT_GE(facing, 180); // of 200: only the 20 collapsed ones at the poles are flat
}

TEST(SphereMesh, LastNormalIsTheQuadricsLastOne) {
    // The quadric's last vertex is slice 10 (= slice 0) on the ring next to the -z pole:
    // normal (0, sin(9 pi / 10), cos(9 pi / 10)).
    const SphereMesh mesh = sphereMeshBuild(0.3, 10, 10);
    EXPECT_NEAR(mesh.lastNormal[0], 0.0, 1e-7);
    EXPECT_NEAR(mesh.lastNormal[1], std::sin(9 * kPi / 10), 1e-6);
    EXPECT_NEAR(mesh.lastNormal[2], std::cos(9 * kPi / 10), 1e-6);
}

} // namespace
