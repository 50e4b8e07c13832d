// The GLES2 backend: the fixed-function frame rebuilt from shaders, static buffers and a
// matrix stack of its own, so that it runs on WebGL and on OpenGL ES 2 contexts.
#include <algorithm>
#include <cstddef>
#include <vector>

#include "render/gles2.h"
#include "render/gles2_program.h"
#include "render/matrix4.h"
#include "render/renderer_backends.h"
#include "render/round_point.h"
#include "render/sphere_mesh.h"
#include "render/text_quads.h"

namespace {

// GL 1.1 guarantees a modelview stack of 32.
constexpr int kMatrixStackDepth = 32;
constexpr float kRightAngle = 90.0f;
constexpr uint32_t kMaxPoints = 100;
// A fresh GL context's material and scene ambient.
constexpr float kDefaultAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
constexpr float kDefaultDiffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
constexpr float kNoEmission[4] = {0.0f, 0.0f, 0.0f, 1.0f};
constexpr float kSceneAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
// GL's initial current normal.
constexpr float kInitialNormal[3] = {0.0f, 0.0f, 1.0f};
constexpr float kQuadCorners[8] = {0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f};
constexpr float kWhiteEmission[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr int kTextMaxQuads = kTextVertexBufferBytes / (kTextBytesPerVertex * kTextVerticesPerQuad);
constexpr int kIndicesPerQuad = 6;
constexpr int kRgbaChannels = 4;
constexpr int kRgbChannels = 3;

struct Background {
    GLuint texture = 0;   // 0: no picture (or deleted), nothing drawn
    bool deleted = false; // its slot may be given to the next background
    float width = 0.0f;
    float height = 0.0f;
};

struct Sphere {
    GLuint vertices = 0; // 0: deleted, its slot free for the next sphere
    GLsizei indexCount = 0;
    GLuint texture = 0;
    float lastNormal[3] = {0.0f, 0.0f, 0.0f};
};

struct Gles2State {
    LitProgram lit;
    BackgroundProgram background;
    CoverProgram cover;
    GLuint quadBuffer = 0;
    GLuint pointBuffer = 0;
    GLuint textBuffer = 0;
    GLuint textIndices = 0;
    GLuint sphereIndices = 0; // every sphere has the same topology
    GLsizei sphereIndexCount = 0;

    Matrix4 projection = matrix4Identity();
    Matrix4 stack[kMatrixStackDepth];
    int top = 0;
    float viewportWidth = 1.0f;
    float viewportHeight = 1.0f;
    float pointSize = kSquarePointSize;
    float largestPoint = kSquarePointSize; // the driver's limit on gl_PointSize
    float backgroundOpacity = 1.0f;

    bool lightOn = false;
    RendererLight light{};
    float lightEye[4] = {0.0f, 0.0f, 1.0f, 0.0f};
    float diffuse[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float currentNormal[3] = {0.0f, 0.0f, 0.0f};

    std::vector<RendererLight> lights;
    std::vector<Background> backgrounds;
    std::vector<Sphere> spheres;
};

Gles2State state;

Matrix4& modelView() {
    return state.stack[state.top];
}

void copy(const float* from, int count, float* to) {
    for (int i = 0; i < count; i++) {
        to[i] = from[i];
    }
}

// Deleted objects leave their slots for the next ones, so a page that remakes its spheres on
// every change keeps a list of the size it needs. The handle is the slot's index plus one.
template <typename Slot, typename IsFree>
uint32_t storeInFreeSlot(std::vector<Slot>* slots, const Slot& item, IsFree isFree) {
    for (size_t i = 0; i < slots->size(); i++) {
        if (isFree((*slots)[i])) {
            (*slots)[i] = item;
            return static_cast<uint32_t>(i + 1);
        }
    }
    slots->push_back(item);
    return static_cast<uint32_t>(slots->size());
}

GLuint makeBuffer(GLenum target, GLsizeiptr size, const void* data, GLenum usage) {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(target, buffer);
    glBufferData(target, size, data, usage);
    return buffer;
}

// Uploads the lighting of the current state with the given emission, the way fixed-function
// GL folds its constant terms together before the per-vertex part.
void useLitProgram(const float emission[4], bool textured) {
    const LitProgram& p = state.lit;
    glUseProgram(p.program);
    const Matrix4 mvp = matrix4Multiply(state.projection, modelView());
    float normalMatrix[9];
    matrix4NormalMatrix(modelView(), normalMatrix);
    glUniformMatrix4fv(p.modelView, 1, GL_FALSE, modelView().m);
    glUniformMatrix4fv(p.modelViewProjection, 1, GL_FALSE, mvp.m);
    glUniformMatrix3fv(p.normalMatrix, 1, GL_FALSE, normalMatrix);
    glUniform4fv(p.lightPosition, 1, state.lightEye);
    glUniform1f(p.lightOn, state.lightOn ? 1.0f : 0.0f);
    float base[3];
    float ambient[3];
    float diffuse[3];
    for (int c = 0; c < 3; c++) {
        base[c] = emission[c] + kDefaultAmbient[c] * kSceneAmbient[c];
        ambient[c] = state.light.ambient[c] * kDefaultAmbient[c];
        diffuse[c] = state.light.diffuse[c] * state.diffuse[c];
    }
    glUniform3fv(p.baseColour, 1, base);
    glUniform3fv(p.ambientProduct, 1, ambient);
    glUniform3fv(p.diffuseProduct, 1, diffuse);
    glUniform1f(p.materialAlpha, state.diffuse[3]);
    glUniform1f(p.textureOn, textured ? 1.0f : 0.0f);
    glUniform1i(p.texture, 0);
    glUniform1f(p.pointSize, kSquarePointSize);
    glUniform2f(p.pointShape, kSquarePointSize, 0.0f);
}

void beginBlending() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

// Each quad of the font as two triangles, for as many quads as the text buffer holds.
GLuint makeTextIndices() {
    std::vector<uint16_t> triangles;
    for (int q = 0; q < kTextMaxQuads; q++) {
        const auto v = static_cast<uint16_t>(q * kTextVerticesPerQuad);
        const uint16_t split[kIndicesPerQuad] = {
            v, static_cast<uint16_t>(v + 1), static_cast<uint16_t>(v + 2),
            v, static_cast<uint16_t>(v + 2), static_cast<uint16_t>(v + 3)};
        triangles.insert(triangles.end(), split, split + kIndicesPerQuad);
    }
    return makeBuffer(GL_ELEMENT_ARRAY_BUFFER,
                      static_cast<GLsizeiptr>(triangles.size() * sizeof(uint16_t)),
                      triangles.data(), GL_STATIC_DRAW);
}

void setupFixedState() {
    if (state.lit.program == 0 || glIsProgram(state.lit.program) == GL_FALSE) {
        // A new context: nothing made for an earlier one is valid in it.
        state = Gles2State{};
        gles2ProgramsBuild(&state.lit, &state.background, &state.cover);
        state.quadBuffer =
            makeBuffer(GL_ARRAY_BUFFER, sizeof kQuadCorners, kQuadCorners, GL_STATIC_DRAW);
        state.pointBuffer =
            makeBuffer(GL_ARRAY_BUFFER, kMaxPoints * 3 * sizeof(float), nullptr, GL_STREAM_DRAW);
        state.textBuffer =
            makeBuffer(GL_ARRAY_BUFFER, kTextVertexBufferBytes, nullptr, GL_STREAM_DRAW);
        state.textIndices = makeTextIndices();
        GLfloat range[2] = {kSquarePointSize, kSquarePointSize};
        glGetFloatv(GL_ALIASED_POINT_SIZE_RANGE, range);
        state.largestPoint = range[1];
    }
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_SCISSOR_TEST);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1); // rows of 3-byte pixels are not 4-byte aligned
    state.lightOn = false;
    state.light = RendererLight{};
    copy(kDefaultDiffuse, 4, state.diffuse);
    copy(kInitialNormal, 3, state.currentNormal);
    state.top = 0;
    state.stack[0] = matrix4Identity();
    state.pointSize = kSquarePointSize;
    state.backgroundOpacity = 1.0f;
}

uint32_t createLight(const RendererLight* light) {
    state.lights.push_back(*light);
    return static_cast<uint32_t>(state.lights.size());
}

void setProjection(int width, int height, double left, double right, double bottom, double top,
                   double nearPlane, double farPlane) {
    glViewport(0, 0, width, height);
    state.viewportWidth = static_cast<float>(width);
    state.viewportHeight = static_cast<float>(height);
    state.projection =
        matrix4Frustum(matrix4Identity(), static_cast<float>(left), static_cast<float>(right),
                       static_cast<float>(bottom), static_cast<float>(top),
                       static_cast<float>(nearPlane), static_cast<float>(farPlane));
    modelView() = matrix4Identity();
}

void clear() {
    glClear(GL_COLOR_BUFFER_BIT);
}

void scissor(const DamageRect* rect) {
    if (rect == nullptr) {
        glDisable(GL_SCISSOR_TEST);
        return;
    }
    glScissor(rect->x, rect->y, rect->width, rect->height);
    glEnable(GL_SCISSOR_TEST);
}

void loadIdentity() {
    modelView() = matrix4Identity();
}

void pushMatrix() {
    if (state.top + 1 < kMatrixStackDepth) {
        state.stack[state.top + 1] = state.stack[state.top];
        state.top++;
    }
}

void popMatrix() {
    if (state.top > 0) {
        state.top--;
    }
}

void translate(float x, float y, float z) {
    modelView() = matrix4Translate(modelView(), x, y, z);
}

void useLight(uint32_t light) {
    if (light == 0 || light > state.lights.size()) {
        return;
    }
    state.light = state.lights[light - 1];
    matrix4Transform(modelView(), state.light.position, state.lightEye);
    state.lightOn = true;
}

uint32_t createTexture(const ImageRecord* record, const uint8_t* pixels) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, record->paddedWidth, record->paddedHeight, 0, GL_RGB,
                 GL_UNSIGNED_BYTE, pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    return name;
}

void deleteTexture(uint32_t texture) {
    const GLuint name = texture;
    if (name != 0) {
        glDeleteTextures(1, &name);
    }
}

uint32_t createBackground(const ImageRecord* record, const uint8_t* pixels) {
    Background background{};
    if (pixels != nullptr) {
        background.texture = createTexture(record, pixels);
        // Texel centres are all that is read; clamping lets any size be a complete texture.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        background.width = static_cast<float>(record->paddedWidth);
        background.height = static_cast<float>(record->paddedHeight);
    }
    return storeInFreeSlot(&state.backgrounds, background,
                           [](const Background& slot) { return slot.deleted; });
}

void deleteBackground(uint32_t handle) {
    if (handle == 0 || handle > state.backgrounds.size()) {
        return;
    }
    Background& background = state.backgrounds[handle - 1];
    glDeleteTextures(1, &background.texture);
    background = Background{};
    background.deleted = true;
}

uint32_t createCover(const ImageRecord* record, const uint8_t* pixels) {
    if (pixels == nullptr) {
        return 0;
    }
    const GLuint name = createTexture(record, pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    return name;
}

void drawQuad() {
    glBindBuffer(GL_ARRAY_BUFFER, state.quadBuffer);
    glEnableVertexAttribArray(kAttribPosition);
    glVertexAttribPointer(kAttribPosition, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glDisableVertexAttribArray(kAttribNormal);
    glDisableVertexAttribArray(kAttribTexCoord);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

// The quad, blended by the background's opacity where that is below 1.
void drawBackgroundQuad() {
    const bool translucent = state.backgroundOpacity < 1.0f;
    if (translucent) {
        beginBlending();
    }
    drawQuad();
    if (translucent) {
        glDisable(GL_BLEND);
    }
}

void drawCover(uint32_t cover, const float texCoords[4]) {
    if (cover == 0 || state.backgroundOpacity <= 0.0f) {
        return;
    }
    const CoverProgram& p = state.cover;
    glUseProgram(p.program);
    glUniform2f(p.texLow, texCoords[0], texCoords[1]);
    glUniform2f(p.texHigh, texCoords[2], texCoords[3]);
    glUniform1i(p.picture, 0);
    glUniform1f(p.opacity, state.backgroundOpacity);
    glBindTexture(GL_TEXTURE_2D, cover);
    drawBackgroundQuad();
}

void setBackgroundOpacity(float opacity) {
    state.backgroundOpacity = opacity < 1.0f ? std::max(opacity, 0.0f) : 1.0f; // NaN: opaque
}

// Where GL would put the raster position for (x, y, 0): false when it falls outside the view
// volume, which makes a pixel rectangle draw nothing.
bool rasterPosition(float x, float y, float window[2]) {
    const float object[4] = {x, y, 0.0f, 1.0f};
    float eye[4];
    float clip[4];
    matrix4Transform(modelView(), object, eye);
    matrix4Transform(state.projection, eye, clip);
    for (int axis = 0; axis < 3; axis++) {
        if (clip[axis] < -clip[3] || clip[axis] > clip[3]) {
            return false;
        }
    }
    window[0] = (clip[0] / clip[3] + 1.0f) * 0.5f * state.viewportWidth;
    window[1] = (clip[1] / clip[3] + 1.0f) * 0.5f * state.viewportHeight;
    return true;
}

void drawPictureAt(uint32_t handle, const float origin[2]) {
    const Background& background = state.backgrounds[handle - 1];
    const BackgroundProgram& p = state.background;
    glUseProgram(p.program);
    glUniform2fv(p.origin, 1, origin);
    glUniform2f(p.size, background.width, background.height);
    glUniform2f(p.viewport, state.viewportWidth, state.viewportHeight);
    glUniform1i(p.picture, 0);
    glUniform1f(p.opacity, state.backgroundOpacity);
    glBindTexture(GL_TEXTURE_2D, background.texture);
    drawBackgroundQuad();
}

bool isDrawable(uint32_t handle) {
    return handle != 0 && handle <= state.backgrounds.size() &&
           state.backgrounds[handle - 1].texture != 0 && state.backgroundOpacity > 0.0f;
}

void drawBackground(uint32_t handle, float x, float y) {
    float origin[2];
    if (isDrawable(handle) && rasterPosition(x, y, origin)) {
        drawPictureAt(handle, origin);
    }
}

void drawBackgroundAtOrigin(uint32_t handle) {
    const float origin[2] = {0.0f, 0.0f};
    if (!isDrawable(handle)) {
        return;
    }
    // A picture of the viewport's size, the painted fill, takes the cover's plain texture fetch:
    // with nearest sampling each pixel centre still lands on its own texel centre, and the
    // software rasteriser fills a whole large window a quarter faster than through the
    // pixel-position shader.
    const Background& background = state.backgrounds[handle - 1];
    if (background.width == state.viewportWidth && background.height == state.viewportHeight) {
        const float whole[4] = {0.0f, 0.0f, 1.0f, 1.0f};
        drawCover(background.texture, whole);
        return;
    }
    drawPictureAt(handle, origin);
}

uint32_t createSphere(double radius, uint32_t texture) {
    const SphereMesh mesh = sphereMeshBuild(radius, kSphereSlices, kSphereStacks);
    if (state.sphereIndices == 0) {
        state.sphereIndices =
            makeBuffer(GL_ELEMENT_ARRAY_BUFFER,
                       static_cast<GLsizeiptr>(mesh.triangles.size() * sizeof(uint16_t)),
                       mesh.triangles.data(), GL_STATIC_DRAW);
        state.sphereIndexCount = static_cast<GLsizei>(mesh.triangles.size());
    }
    Sphere sphere{};
    sphere.vertices = makeBuffer(
        GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(mesh.vertices.size() * sizeof(SphereVertex)),
        mesh.vertices.data(), GL_STATIC_DRAW);
    sphere.indexCount = state.sphereIndexCount;
    sphere.texture = texture;
    copy(mesh.lastNormal, 3, sphere.lastNormal);
    return storeInFreeSlot(&state.spheres, sphere,
                           [](const Sphere& slot) { return slot.vertices == 0; });
}

void deleteSphere(uint32_t handle) {
    if (handle == 0 || handle > state.spheres.size()) {
        return;
    }
    Sphere& sphere = state.spheres[handle - 1];
    glDeleteBuffers(1, &sphere.vertices);
    sphere = Sphere{};
}

void bindSphereAttributes(GLuint vertices) {
    glBindBuffer(GL_ARRAY_BUFFER, vertices);
    glEnableVertexAttribArray(kAttribPosition);
    glEnableVertexAttribArray(kAttribNormal);
    glEnableVertexAttribArray(kAttribTexCoord);
    const auto stride = static_cast<GLsizei>(sizeof(SphereVertex));
    glVertexAttribPointer(kAttribPosition, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(SphereVertex, position)));
    glVertexAttribPointer(kAttribNormal, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(SphereVertex, normal)));
    glVertexAttribPointer(kAttribTexCoord, 2, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(SphereVertex, texCoord)));
}

void drawSphere(uint32_t handle) {
    if (handle == 0 || handle > state.spheres.size() || state.spheres[handle - 1].vertices == 0) {
        return;
    }
    const Sphere& sphere = state.spheres[handle - 1];
    copy(kSphereMaterial, 4, state.diffuse);
    // Stand the quadric's pole axis on y; like the display list, this leaves the matrix rotated.
    modelView() = matrix4Rotate(modelView(), kRightAngle, 0.0f, 1.0f, 0.0f);
    modelView() = matrix4Rotate(modelView(), kRightAngle, 1.0f, 0.0f, 0.0f);
    const bool textured = sphere.texture != 0;
    if (textured) {
        glBindTexture(GL_TEXTURE_2D, sphere.texture);
    }
    useLitProgram(kNoEmission, textured);
    bindSphereAttributes(sphere.vertices);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, state.sphereIndices);
    glDrawElements(GL_TRIANGLES, sphere.indexCount, GL_UNSIGNED_SHORT, nullptr);
    // The last normal of the quadric stays current, and the points drawn next are lit with it.
    copy(sphere.lastNormal, 3, state.currentNormal);
}

void drawPoints(const float emission[4], const float* xyz, uint32_t count) {
    if (count == 0) {
        return;
    }
    count = count < kMaxPoints ? count : kMaxPoints;
    useLitProgram(emission, false);
    glBindBuffer(GL_ARRAY_BUFFER, state.pointBuffer);
    // New storage each time rather than an update in place: the driver need not wait for the
    // previous spray's draw to finish reading the old points.
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * 3 * sizeof(float)), xyz,
                 GL_STREAM_DRAW);
    glEnableVertexAttribArray(kAttribPosition);
    glVertexAttribPointer(kAttribPosition, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glDisableVertexAttribArray(kAttribNormal);
    glVertexAttrib3fv(kAttribNormal, state.currentNormal);
    glDisableVertexAttribArray(kAttribTexCoord);
    const bool round = state.pointSize > kSquarePointSize;
    if (round) {
        const float side = state.pointSize + 2.0f * kRoundPointMargin;
        glUniform1f(state.lit.pointSize, side);
        glUniform2f(state.lit.pointShape, side, 0.5f * state.pointSize);
        beginBlending();
    }
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(count));
    if (round) {
        glDisable(GL_BLEND);
    }
}

// The square of a round point, rim included, must fit in what the driver draws.
void setPointSize(float pixels) {
    const float largest =
        std::min(state.largestPoint - 2.0f * kRoundPointMargin, kLargestRoundPoint);
    state.pointSize = pixels > kSquarePointSize && largest > kSquarePointSize
                          ? std::min(pixels, largest)
                          : kSquarePointSize;
}

// The lit program with the light off and the colour as its base: plain colour, and the quad's
// unit square stretched over the clip volume. The light is put off the quad's plane, so that
// the unused lighting terms stay finite.
void drawShade(const float rgba[4]) {
    useLitProgram(kNoEmission, false);
    const Matrix4 identity = matrix4Identity();
    Matrix4 wholeViewport = identity;
    wholeViewport.m[0] = 2.0f;
    wholeViewport.m[5] = 2.0f;
    wholeViewport.m[12] = -1.0f;
    wholeViewport.m[13] = -1.0f;
    const LitProgram& p = state.lit;
    glUniformMatrix4fv(p.modelViewProjection, 1, GL_FALSE, wholeViewport.m);
    glUniformMatrix4fv(p.modelView, 1, GL_FALSE, identity.m);
    glUniform4f(p.lightPosition, 0.0f, 0.0f, 1.0f, 1.0f);
    glUniform1f(p.lightOn, 0.0f);
    glUniform3fv(p.baseColour, 1, rgba);
    glUniform1f(p.materialAlpha, rgba[3]);
    beginBlending();
    drawQuad();
    glDisable(GL_BLEND);
}

// Lit by nothing but a white emission, which saturates: plain white whatever the light.
void drawText(const char* text, int width, int height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    static char vertices[kTextVertexBufferBytes];
    const int quads = textQuadsBuild(text, vertices);
    if (quads <= 0) {
        return;
    }
    const Matrix4 savedProjection = state.projection;
    pushMatrix();
    state.projection = matrix4Identity();
    // Window pixels with y down: x from 0..width to -1..1, y from 0..height to 1..-1.
    state.projection.m[0] = 2.0f / static_cast<float>(width);
    state.projection.m[5] = -2.0f / static_cast<float>(height);
    state.projection.m[12] = -1.0f;
    state.projection.m[13] = 1.0f;
    modelView() = matrix4Identity();
    modelView().m[0] = kTextScale;
    modelView().m[5] = kTextScale;
    useLitProgram(kWhiteEmission, false);
    glDisable(GL_CULL_FACE); // the font's quads wind the other way once y points down
    glBindBuffer(GL_ARRAY_BUFFER, state.textBuffer);
    glBufferSubData(GL_ARRAY_BUFFER, 0,
                    static_cast<GLsizeiptr>(quads) * kTextVerticesPerQuad * kTextBytesPerVertex,
                    vertices);
    glEnableVertexAttribArray(kAttribPosition);
    glVertexAttribPointer(kAttribPosition, 2, GL_FLOAT, GL_FALSE, kTextBytesPerVertex, nullptr);
    glDisableVertexAttribArray(kAttribNormal);
    glDisableVertexAttribArray(kAttribTexCoord);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, state.textIndices);
    glDrawElements(GL_TRIANGLES, quads * kIndicesPerQuad, GL_UNSIGNED_SHORT, nullptr);
    glEnable(GL_CULL_FACE);
    popMatrix();
    state.projection = savedProjection;
}

void flush() {
    glFlush();
}

void readPixels(int x, int y, int width, int height, uint8_t* rgb) {
    // RGBA is the one layout every ES 2 driver must read back.
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * kRgbaChannels);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    const size_t pixelCount = static_cast<size_t>(width) * height;
    for (size_t i = 0; i < pixelCount; i++) {
        for (int c = 0; c < kRgbChannels; c++) {
            rgb[i * kRgbChannels + c] = rgba[i * kRgbaChannels + c];
        }
    }
}

// Every name lives in the backend's state, the lights' records too: all of it goes.
void forgetObjects() {
    state = Gles2State{};
}

} // namespace

const RendererBackend kGles2Renderer = {
    .setupFixedState = setupFixedState,
    .createLight = createLight,
    .setProjection = setProjection,
    .clear = clear,
    .scissor = scissor,
    .loadIdentity = loadIdentity,
    .pushMatrix = pushMatrix,
    .popMatrix = popMatrix,
    .translate = translate,
    .useLight = useLight,
    .createTexture = createTexture,
    .deleteTexture = deleteTexture,
    .createBackground = createBackground,
    .drawBackground = drawBackground,
    .drawBackgroundAtOrigin = drawBackgroundAtOrigin,
    .deleteBackground = deleteBackground,
    .setBackgroundOpacity = setBackgroundOpacity,
    .createCover = createCover,
    .drawCover = drawCover,
    .createSphere = createSphere,
    .drawSphere = drawSphere,
    .deleteSphere = deleteSphere,
    .drawPoints = drawPoints,
    .setPointSize = setPointSize,
    .drawShade = drawShade,
    .drawText = drawText,
    .flush = flush,
    .readPixels = readPixels,
    .forgetObjects = forgetObjects,
};
