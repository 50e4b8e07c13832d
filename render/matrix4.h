// 4 by 4 single-precision matrices, column-major, built the way GL 1.1 builds its own.
#pragma once

// Every operation rounds as a fixed-function GL does (single precision, same order of terms),
// so that a shader renderer fed these matrices lands on the same pixels.
struct Matrix4 {
    float m[16]; // column-major: m[column * 4 + row]
};

Matrix4 matrix4Identity();
// a times b.
Matrix4 matrix4Multiply(const Matrix4& a, const Matrix4& b);
// m times a translation.
Matrix4 matrix4Translate(const Matrix4& m, float x, float y, float z);
// m times a rotation of angleDegrees about the axis (x, y, z).
Matrix4 matrix4Rotate(const Matrix4& m, float angleDegrees, float x, float y, float z);
// m times the perspective projection of the frustum.
Matrix4 matrix4Frustum(const Matrix4& m, float left, float right, float bottom, float top,
                       float nearPlane, float farPlane);
// m times the column (x, y, z, w).
void matrix4Transform(const Matrix4& m, const float in[4], float out[4]);
// The inverse transpose of the upper-left 3 by 3 part, column-major: it carries normals into
// eye space. The identity when that part cannot be inverted.
void matrix4NormalMatrix(const Matrix4& m, float out[9]);
