// Round spray points under GL 1.1: one eye-facing quad per point, a pixel wider than the circle
// on every side, lit per corner like the point it stands for and cut round by an alpha texture
// of the rim's coverage. (Smoothed GL points come out square or lopsided under some drivers,
// Mesa's software rasteriser among them.)
#include "render/gl11_round_points.h"

#include <cmath>
#include <vector>

#include "render/gl.h"
#include "render/round_point.h"

namespace {

// Texels per pixel of the quad: the coverage is sampled finely enough that linear filtering
// follows its one-pixel ramp to within a few levels.
constexpr int kTexelsPerPixel = 8;
constexpr int kSmallestTexture = 16;
constexpr float kOpaqueAlpha = 255.0f;

struct RimTexture {
    GLuint name = 0;
    float diameter = 0.0f; // the point size its coverage was made for
};

RimTexture rim;

// The rim texture for diameter, bound; made again when the size changed.
void bindRimTexture(float diameter) {
    if (rim.name == 0) {
        glGenTextures(1, &rim.name);
    }
    glBindTexture(GL_TEXTURE_2D, rim.name);
    if (rim.diameter == diameter) {
        return;
    }
    rim.diameter = diameter;
    GLint largest = kSmallestTexture;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    const float side = diameter + 2.0f * kRoundPointMargin;
    int texels = kSmallestTexture;
    while (static_cast<float>(texels) < side * kTexelsPerPixel && texels * 2 <= largest) {
        texels *= 2;
    }
    std::vector<uint8_t> alpha(static_cast<size_t>(texels) * texels);
    const float pixelsPerTexel = side / static_cast<float>(texels);
    for (int j = 0; j < texels; j++) {
        for (int i = 0; i < texels; i++) {
            const float x = (static_cast<float>(i) + 0.5f) * pixelsPerTexel - 0.5f * side;
            const float y = (static_cast<float>(j) + 0.5f) * pixelsPerTexel - 0.5f * side;
            const float coverage = roundPointCoverage(diameter, std::hypot(x, y));
            alpha[static_cast<size_t>(j) * texels + i] =
                static_cast<uint8_t>(std::lround(coverage * kOpaqueAlpha));
        }
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, texels, texels, 0, GL_ALPHA, GL_UNSIGNED_BYTE,
                 alpha.data());
    // The border texels are transparent, so clamping into the border colour changes nothing.
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLfloat>(GL_CLAMP));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLfloat>(GL_CLAMP));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_LINEAR));
}

// The eye's x and y axes in object coordinates: the first two columns of the inverse of the
// modelview matrix's rotating part. False when that part cannot be inverted.
bool eyeAxesInObject(const GLfloat modelView[16], float axes[2][3]) {
    const auto a = [&](int row, int column) { return modelView[4 * column + row]; };
    const float cofactors[3][3] = {
        {a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1), a(1, 2) * a(2, 0) - a(1, 0) * a(2, 2),
         a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0)},
        {a(0, 2) * a(2, 1) - a(0, 1) * a(2, 2), a(0, 0) * a(2, 2) - a(0, 2) * a(2, 0),
         a(0, 1) * a(2, 0) - a(0, 0) * a(2, 1)},
        {a(0, 1) * a(1, 2) - a(0, 2) * a(1, 1), a(0, 2) * a(1, 0) - a(0, 0) * a(1, 2),
         a(0, 0) * a(1, 1) - a(0, 1) * a(1, 0)},
    };
    const float determinant =
        a(0, 0) * cofactors[0][0] + a(0, 1) * cofactors[0][1] + a(0, 2) * cofactors[0][2];
    if (determinant == 0.0f) {
        return false;
    }
    // The inverse's column c is row c of the cofactors over the determinant.
    for (int axis = 0; axis < 2; axis++) {
        for (int row = 0; row < 3; row++) {
            axes[axis][row] = cofactors[row][axis] / determinant;
        }
    }
    return true;
}

void transform(const GLfloat m[16], const float in[4], float out[4]) {
    for (int row = 0; row < 4; row++) {
        out[row] = m[row] * in[0] + m[4 + row] * in[1] + m[8 + row] * in[2] + m[12 + row] * in[3];
    }
}

// Under the current matrices and viewport: each point's quad whose centre is inside the view
// volume, as a GL point with its centre outside is not drawn at all.
void sendQuads(const float* xyz, uint32_t count, float side) {
    GLfloat modelView[16];
    GLfloat projection[16];
    GLint viewport[4] = {0, 0, 1, 1};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    float axes[2][3];
    if (!eyeAxesInObject(modelView, axes) || projection[0] == 0.0f || projection[5] == 0.0f) {
        return;
    }
    // A frame drawn in parts draws every spray once per part it meets: only the quads that reach
    // into this part are worth sending.
    GLint box[4] = {viewport[0], viewport[1], viewport[2], viewport[3]};
    if (glIsEnabled(GL_SCISSOR_TEST) == GL_TRUE) {
        glGetIntegerv(GL_SCISSOR_BOX, box);
    }
    const float reach = 0.5f * side;
    constexpr float kCorners[4][2] = {{-1.0f, -1.0f}, {1.0f, -1.0f}, {1.0f, 1.0f}, {-1.0f, 1.0f}};
    glBegin(GL_QUADS);
    for (uint32_t i = 0; i < count; i++) {
        const float* p = &xyz[3 * i];
        const float object[4] = {p[0], p[1], p[2], 1.0f};
        float eye[4];
        float clip[4];
        transform(modelView, object, eye);
        transform(projection, eye, clip);
        const float w = clip[3];
        if (!(w > 0.0f) || std::fabs(clip[0]) > w || std::fabs(clip[1]) > w ||
            std::fabs(clip[2]) > w) {
            continue;
        }
        const float windowX = static_cast<float>(viewport[0]) +
                              (0.5f + 0.5f * clip[0] / w) * static_cast<float>(viewport[2]);
        const float windowY = static_cast<float>(viewport[1]) +
                              (0.5f + 0.5f * clip[1] / w) * static_cast<float>(viewport[3]);
        if (windowX + reach < static_cast<float>(box[0]) ||
            windowX - reach > static_cast<float>(box[0] + box[2]) ||
            windowY + reach < static_cast<float>(box[1]) ||
            windowY - reach > static_cast<float>(box[1] + box[3])) {
            continue; // wholly outside the part: the scissor would discard all of it
        }
        // Half the side in eye units at this depth: a window pixel is 2 w / (P00 * width) wide.
        const float half[2] = {side * w / (projection[0] * static_cast<float>(viewport[2])),
                               side * w / (projection[5] * static_cast<float>(viewport[3]))};
        for (const auto& corner : kCorners) {
            float at[3];
            for (int k = 0; k < 3; k++) {
                at[k] = p[k] + corner[0] * half[0] * axes[0][k] + corner[1] * half[1] * axes[1][k];
            }
            glTexCoord2f(0.5f + 0.5f * corner[0], 0.5f + 0.5f * corner[1]);
            glVertex3fv(at);
        }
    }
    glEnd();
}

} // namespace

// Pushing the texture attributes is costly (every unit's state is copied), so the binding and
// the environment are put back by hand.
void gl11DrawRoundPoints(const float emission[4], const float* xyz, uint32_t count,
                         float diameter) {
    if (count == 0) {
        return;
    }
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    GLint environment = GL_MODULATE;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &environment);
    glPushAttrib(GL_CURRENT_BIT | GL_LIGHTING_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
    glMaterialfv(GL_FRONT, GL_EMISSION, emission);
    bindRimTexture(diameter);
    glEnable(GL_TEXTURE_2D);
    // An alpha texture modulates only the lit colour's alpha.
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(GL_MODULATE));
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    sendQuads(xyz, count, diameter + 2.0f * kRoundPointMargin);
    glPopAttrib();
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(environment));
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
}

void gl11ForgetRoundPoints() {
    rim = RimTexture{};
}
