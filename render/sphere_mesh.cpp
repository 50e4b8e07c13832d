// The sphere mesh built stack by stack, in the order and with the normals and texture
// coordinates of the GL 1.1 quadric.
#include "render/sphere_mesh.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

SphereVertex makeVertex(float normalX, float normalY, float normalZ, float s, float t, float x,
                        float y, float z) {
    return SphereVertex{{x, y, z}, {normalX, normalY, normalZ}, {s, t}};
}

} // namespace

SphereMesh sphereMeshBuild(double radius, int slices, int stacks) {
    // The quadric keeps its angles and products in single precision, computing each sine and
    // cosine from the rounded angle; doing the same gives the very same vertices.
    std::vector<float> sinSlice(slices + 1);
    std::vector<float> cosSlice(slices + 1);
    for (int i = 0; i < slices; i++) {
        const auto angle = static_cast<float>(2 * kPi * i / slices);
        sinSlice[i] = static_cast<float>(std::sin(static_cast<double>(angle)));
        cosSlice[i] = static_cast<float>(std::cos(static_cast<double>(angle)));
    }
    sinSlice[slices] = sinSlice[0];
    cosSlice[slices] = cosSlice[0];

    std::vector<float> sinStackNormal(stacks + 1);
    std::vector<float> cosStackNormal(stacks + 1);
    std::vector<float> sinStackRadius(stacks + 1);
    std::vector<float> cosStackRadius(stacks + 1);
    for (int j = 0; j <= stacks; j++) {
        const auto angle = static_cast<double>(static_cast<float>(kPi * j / stacks));
        sinStackNormal[j] = static_cast<float>(std::sin(angle));
        cosStackNormal[j] = static_cast<float>(std::cos(angle));
        sinStackRadius[j] = static_cast<float>(radius * std::sin(angle));
        cosStackRadius[j] = static_cast<float>(radius * std::cos(angle));
    }
    sinStackRadius[0] = 0.0f; // the poles come to a point
    sinStackRadius[stacks] = 0.0f;

    SphereMesh mesh{};
    for (int j = 0; j < stacks; j++) {
        const float zThis = cosStackRadius[j];
        const float zNext = cosStackRadius[j + 1];
        const float ringThis = sinStackRadius[j];
        const float ringNext = sinStackRadius[j + 1];
        const auto first = static_cast<uint16_t>(mesh.vertices.size());
        for (int i = 0; i <= slices; i++) {
            const float s = 1 - static_cast<float>(i) / slices;
            // In the quadric's own order: the vertex on ring j + 1, then the one on ring j.
            mesh.vertices.push_back(
                makeVertex(sinSlice[i] * sinStackNormal[j + 1], cosSlice[i] * sinStackNormal[j + 1],
                           cosStackNormal[j + 1], s, 1 - static_cast<float>(j + 1) / stacks,
                           ringNext * sinSlice[i], ringNext * cosSlice[i], zNext));
            mesh.vertices.push_back(
                makeVertex(sinSlice[i] * sinStackNormal[j], cosSlice[i] * sinStackNormal[j],
                           cosStackNormal[j], s, 1 - static_cast<float>(j) / stacks,
                           ringThis * sinSlice[i], ringThis * cosSlice[i], zThis));
        }
        // Quad k of the strip is v0 v1 v3 v2 (v = first + 2k); it is split along v0-v3.
        for (int k = 0; k < slices; k++) {
            const auto v0 = static_cast<uint16_t>(first + 2 * k);
            const uint16_t split[6] = {
                static_cast<uint16_t>(v0 + 2), v0,
                static_cast<uint16_t>(v0 + 3), v0,
                static_cast<uint16_t>(v0 + 1), static_cast<uint16_t>(v0 + 3)};
            mesh.triangles.insert(mesh.triangles.end(), split, split + 6);
        }
    }
    const SphereVertex& last = mesh.vertices.back();
    for (int axis = 0; axis < 3; axis++) {
        mesh.lastNormal[axis] = last.normal[axis];
    }
    return mesh;
}
