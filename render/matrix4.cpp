// Identity, product, translation, rotation, transform and normal matrix, in GL 1.1's own order.
#include "render/matrix4.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegreesPerHalfTurn = 180.0;

float& at(Matrix4& m, int row, int column) {
    return m.m[column * 4 + row];
}
float at(const Matrix4& m, int row, int column) {
    return m.m[column * 4 + row];
}

} // namespace

Matrix4 matrix4Identity() {
    Matrix4 m{};
    m.m[0] = m.m[5] = m.m[10] = m.m[15] = 1.0f;
    return m;
}

Matrix4 matrix4Multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 p{};
    for (int i = 0; i < 4; i++) {
        const float ai0 = at(a, i, 0);
        const float ai1 = at(a, i, 1);
        const float ai2 = at(a, i, 2);
        const float ai3 = at(a, i, 3);
        for (int j = 0; j < 4; j++) {
            at(p, i, j) =
                ai0 * at(b, 0, j) + ai1 * at(b, 1, j) + ai2 * at(b, 2, j) + ai3 * at(b, 3, j);
        }
    }
    return p;
}

Matrix4 matrix4Translate(const Matrix4& m, float x, float y, float z) {
    Matrix4 r = m;
    for (int row = 0; row < 4; row++) {
        at(r, row, 3) = at(m, row, 0) * x + at(m, row, 1) * y + at(m, row, 2) * z + at(m, row, 3);
    }
    return r;
}

Matrix4 matrix4Rotate(const Matrix4& m, float angleDegrees, float x, float y, float z) {
    // The angle reaches sinf and cosf as a float, as in GL itself: cos of 90 degrees is then a
    // tiny negative number, not 0, and the pixels depend on it.
    const auto radians =
        static_cast<float>(static_cast<double>(angleDegrees) * kPi / kDegreesPerHalfTurn);
    const float s = std::sin(radians);
    const float c = std::cos(radians);
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0f) {
        return m;
    }
    x /= length;
    y /= length;
    z /= length;
    const float oneMinusC = 1.0f - c;
    Matrix4 r = matrix4Identity();
    if (x == 0.0f && z == 0.0f) {
        const float sign = y < 0.0f ? -1.0f : 1.0f;
        at(r, 0, 0) = c;
        at(r, 2, 2) = c;
        at(r, 0, 2) = sign * s;
        at(r, 2, 0) = -sign * s;
    } else if (y == 0.0f && z == 0.0f) {
        const float sign = x < 0.0f ? -1.0f : 1.0f;
        at(r, 1, 1) = c;
        at(r, 2, 2) = c;
        at(r, 1, 2) = -sign * s;
        at(r, 2, 1) = sign * s;
    } else if (x == 0.0f && y == 0.0f) {
        const float sign = z < 0.0f ? -1.0f : 1.0f;
        at(r, 0, 0) = c;
        at(r, 1, 1) = c;
        at(r, 0, 1) = -sign * s;
        at(r, 1, 0) = sign * s;
    } else {
        at(r, 0, 0) = x * x * oneMinusC + c;
        at(r, 0, 1) = x * y * oneMinusC - z * s;
        at(r, 0, 2) = x * z * oneMinusC + y * s;
        at(r, 1, 0) = y * x * oneMinusC + z * s;
        at(r, 1, 1) = y * y * oneMinusC + c;
        at(r, 1, 2) = y * z * oneMinusC - x * s;
        at(r, 2, 0) = z * x * oneMinusC - y * s;
        at(r, 2, 1) = z * y * oneMinusC + x * s;
        at(r, 2, 2) = z * z * oneMinusC + c;
    }
    return matrix4Multiply(m, r);
}

Matrix4 matrix4Frustum(const Matrix4& m, float left, float right, float bottom, float top,
                       float nearPlane, float farPlane) {
    Matrix4 f{};
    at(f, 0, 0) = (2.0f * nearPlane) / (right - left);
    at(f, 1, 1) = (2.0f * nearPlane) / (top - bottom);
    at(f, 0, 2) = (right + left) / (right - left);
    at(f, 1, 2) = (top + bottom) / (top - bottom);
    at(f, 2, 2) = -(farPlane + nearPlane) / (farPlane - nearPlane);
    at(f, 2, 3) = -(2.0f * farPlane * nearPlane) / (farPlane - nearPlane);
    at(f, 3, 2) = -1.0f;
    return matrix4Multiply(m, f);
}

void matrix4Transform(const Matrix4& m, const float in[4], float out[4]) {
    for (int row = 0; row < 4; row++) {
        out[row] = at(m, row, 0) * in[0] + at(m, row, 1) * in[1] + at(m, row, 2) * in[2] +
                   at(m, row, 3) * in[3];
    }
}

void matrix4NormalMatrix(const Matrix4& m, float out[9]) {
    // Cofactors of the upper-left 3 by 3 part, divided by its determinant: that is the inverse
    // transpose directly.
    const float a = at(m, 0, 0), b = at(m, 0, 1), c = at(m, 0, 2);
    const float d = at(m, 1, 0), e = at(m, 1, 1), f = at(m, 1, 2);
    const float g = at(m, 2, 0), h = at(m, 2, 1), k = at(m, 2, 2);
    const float cofactor[3][3] = {
        {e * k - f * h, f * g - d * k, d * h - e * g},
        {c * h - b * k, a * k - c * g, b * g - a * h},
        {b * f - c * e, c * d - a * f, a * e - b * d},
    };
    const float determinant = a * cofactor[0][0] + b * cofactor[0][1] + c * cofactor[0][2];
    for (int row = 0; row < 3; row++) {
        for (int column = 0; column < 3; column++) {
            const float identity = row == column ? 1.0f : 0.0f;
            out[column * 3 + row] =
                determinant == 0.0f ? identity : cofactor[row][column] / determinant;
        }
    }
}
