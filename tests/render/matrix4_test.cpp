// The GLES2 renderer's matrices: built as fixed-function GL builds them.
#include <cmath>

#include <gtest/gtest.h>

#include "render/matrix4.h"

namespace {

void expectTransforms(const Matrix4& m, const float in[4], float x, float y, float z) {
    float out[4];
    matrix4Transform(m, in, out);
    EXPECT_NEAR(out[0], x, 1e-6f);
    EXPECT_NEAR(out[1], y, 1e-6f);
    EXPECT_NEAR(out[2], z, 1e-6f);
}

TEST(Matrix4, TranslationsAddUpAndMoveOnlyPoints) {
    Matrix4 m = matrix4Translate(matrix4Identity(), 0.0f, 0.0f, -9.0f);
    m = matrix4Translate(m, 1.0f, 2.0f, 3.0f);
    const float point[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    expectTransforms(m, point, 2.0f, 3.0f, -5.0f);
    const float direction[4] = {1.0f, 1.0f, 1.0f, 0.0f};
    expectTransforms(m, direction, 1.0f, 1.0f, 1.0f);
}

TEST(Matrix4, SphereStandingRotationsPutThePoleAxisOnMinusY) {
    // 90 degrees about y, then about x: the quadric's +z pole ends up pointing down, and its
    // x axis towards the viewer's -z... worked out: (x, y, z) -> (y, -z, -x).
    Matrix4 m = matrix4Rotate(matrix4Identity(), 90.0f, 0.0f, 1.0f, 0.0f);
    m = matrix4Rotate(m, 90.0f, 1.0f, 0.0f, 0.0f);
    const float pole[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    expectTransforms(m, pole, 0.0f, -1.0f, 0.0f);
    const float xAxis[4] = {1.0f, 0.0f, 0.0f, 1.0f};
    expectTransforms(m, xAxis, 0.0f, 0.0f, -1.0f);
    const float yAxis[4] = {0.0f, 1.0f, 0.0f, 1.0f};
    expectTransforms(m, yAxis, 1.0f, 0.0f, 0.0f);
    // cos 90 degrees in single precision is a tiny negative number, as GL has it, not zero.
    EXPECT_LT(m.m[0], 0.0f);
    EXPECT_GT(m.m[0], -1e-7f);
}

TEST(Matrix4, FrustumMatchesTheFixedFunctionProjection) {
    // glFrustum(-1, 1, -0.75, 0.75, 1, 41): 2n/(r-l) = 1, 2n/(t-b) = 4/3, -(f+n)/(f-n) = -1.05,
    // -2fn/(f-n) = -2.05, and -1 carries -z into w.
    const Matrix4 p = matrix4Frustum(matrix4Identity(), -1.0f, 1.0f, -0.75f, 0.75f, 1.0f, 41.0f);
    EXPECT_FLOAT_EQ(p.m[0], 1.0f);
    EXPECT_FLOAT_EQ(p.m[5], 4.0f / 3.0f);
    EXPECT_FLOAT_EQ(p.m[10], -1.05f);
    EXPECT_FLOAT_EQ(p.m[14], -2.05f);
    EXPECT_FLOAT_EQ(p.m[11], -1.0f);
    EXPECT_FLOAT_EQ(p.m[15], 0.0f);
    // The background corner (-3, -3) nine units away lands a third of the way in from the left.
    const float corner[4] = {-3.0f, -3.0f, -9.0f, 1.0f};
    float clip[4];
    matrix4Transform(p, corner, clip);
    EXPECT_NEAR((clip[0] / clip[3] + 1.0f) * 400.0f, 266.6667f, 1e-3f);
    EXPECT_NEAR((clip[1] / clip[3] + 1.0f) * 300.0f, 166.6667f, 1e-3f);
}

TEST(Matrix4, NormalMatrixUndoesScalingAndKeepsRotations) {
    Matrix4 scaled = matrix4Identity();
    scaled.m[0] = 2.0f;
    scaled.m[5] = 4.0f;
    float normal[9];
    matrix4NormalMatrix(scaled, normal);
    EXPECT_FLOAT_EQ(normal[0], 0.5f);
    EXPECT_FLOAT_EQ(normal[4], 0.25f);
    EXPECT_FLOAT_EQ(normal[8], 1.0f);

    const Matrix4 turned = matrix4Rotate(matrix4Identity(), 30.0f, 0.0f, 0.0f, 1.0f);
    matrix4NormalMatrix(turned, normal);
    for (int column = 0; column < 3; column++) {
        for (int row = 0; row < 3; row++) {
            EXPECT_NEAR(normal[column * 3 + row], turned.m[column * 4 + row], 1e-6f);
        }
    }
}

} // namespace
