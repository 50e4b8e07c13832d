// The drawing seam: the few things a frame asks of GL, served by one backend per GL flavour.
#pragma once

#include <cstdint>

#include "render/bmp.h"
#include "render/damage.h"

// Every sphere: its diffuse material colour (RGBA) and its tessellation.
inline constexpr float kSphereMaterial[4] = {0.8f, 0.8f, 0.8f, 1.0f};
inline constexpr int kSphereSlices = 10;
inline constexpr int kSphereStacks = 10;

enum class RendererKind {
    Gl11,  // fixed function, display lists, glDrawPixels and GLU: the desktop default
    Gles2, // shaders and buffers: OpenGL ES 2, WebGL, or any GL that runs GLSL ES 1.00
};

// Light 0, all four-float RGBA values except the position, given in the coordinates of the
// modelview matrix in force when the light is used (w = 1: a point light).
struct RendererLight {
    float ambient[4];
    float diffuse[4];
    float specular[4];
    float position[4];
};

// One backend. Handles (light, texture, background, sphere) are the backend's own names; 0 is
// "nothing" and drawing it does nothing.
struct RendererBackend {
    // Fixed state: no depth test, back faces culled, smooth shading, black clear colour,
    // lighting on (the light itself stays off until first used), 1-pixel points, an opaque
    // background.
    void (*setupFixedState)();
    uint32_t (*createLight)(const RendererLight* light);
    // Viewport and perspective projection; leaves the modelview matrix the identity.
    void (*setProjection)(int width, int height, double left, double right, double bottom,
                          double top, double nearPlane, double farPlane);
    // Clears the scissor box, or everything without one.
    void (*clear)();
    // Drawing, clearing included, stays inside rect from now on; null lifts the limit. The
    // pixels inside come out exactly as without it.
    void (*scissor)(const DamageRect* rect);
    void (*loadIdentity)();
    void (*pushMatrix)();
    void (*popMatrix)();
    void (*translate)(float x, float y, float z);
    // Configures and switches on light 0, its position taken through the current modelview.
    void (*useLight)(uint32_t light);
    // The whole power-of-two picture as a texture, modulated by the lit colour; 0 on failure.
    uint32_t (*createTexture)(const ImageRecord* record, const uint8_t* pixels);
    // Releases a texture (a cover's too); 0 is ignored. Spheres made with it must go first.
    void (*deleteTexture)(uint32_t texture);
    // The whole power-of-two picture as window pixels; null pixels give an empty background.
    uint32_t (*createBackground)(const ImageRecord* record, const uint8_t* pixels);
    // The picture's lower-left corner at (x, y, 0) through the current matrices, one texel per
    // window pixel, unlit.
    void (*drawBackground)(uint32_t background, float x, float y);
    // The same with the corner at the window's lower-left pixel, whatever the matrices.
    void (*drawBackgroundAtOrigin)(uint32_t background);
    // Releases a background; 0 is ignored.
    void (*deleteBackground)(uint32_t background);
    // How opaque the next backgrounds and covers are, 0 to 1: below 1 each is blended over what
    // is drawn already, background * opacity + drawn * (1 - opacity); 1 draws them opaque.
    void (*setBackgroundOpacity)(float opacity);
    // The whole power-of-two picture as a texture filtered linearly, for scaling; 0 for null
    // pixels.
    uint32_t (*createCover)(const ImageRecord* record, const uint8_t* pixels);
    // Covers the whole viewport with the texture's part from (s0, t0) at the lower left to
    // (s1, t1) at the upper right, unlit; the matrices stay as they were.
    void (*drawCover)(uint32_t cover, const float texCoords[4]);
    // A lit sphere of 10 slices and 10 stacks around the origin with its poles on the y axis,
    // textured when texture is not 0. Drawing it leaves the modelview matrix rotated.
    uint32_t (*createSphere)(double radius, uint32_t texture);
    void (*drawSphere)(uint32_t sphere);
    // Releases a sphere, not its texture; 0 is ignored.
    void (*deleteSphere)(uint32_t sphere);
    // count points at xyz (three floats each), lit, glowing in the emission colour; the
    // modelview matrix and the material are as before afterwards.
    void (*drawPoints)(const float emission[4], const float* xyz, uint32_t count);
    // The diameter in pixels of the points drawn next. At 1 or below they are square one-pixel
    // points; above, round ones with an anti-aliased rim about a pixel wide, blended over what
    // is drawn, their size held to what the driver can draw.
    void (*setPointSize)(float pixels);
    // The whole viewport, within the scissor box and whatever the matrices, blended with the
    // colour at its alpha, unlit and untextured; every piece of state stays as it was.
    void (*drawShade)(const float rgba[4]);
    // White text at the window's top-left over the finished frame, for a viewport of width by
    // height pixels; every piece of state stays as it was.
    void (*drawText)(const char* text, int width, int height);
    // Hands the frame's commands to the GPU.
    void (*flush)();
    // Waits for drawing to end and reads the back buffer's width by height RGB pixels from the
    // lower-left corner, bottom row first, rows packed.
    void (*readPixels)(int x, int y, int width, int height, uint8_t* rgb);
    // The context went away with every object in it (a browser takes a WebGL context back when
    // its GPU resets, and gives an empty one back later): forgets every handle without deleting
    // anything, since the new context knows none of them. setupFixedState then starts as in a
    // fresh context, and every light, texture, background and sphere must be made again.
    void (*forgetObjects)();
};

// The backend every renderer* call goes to; set before any GL object is made.
extern const RendererBackend* activeRenderer;

// False when this build carries no such backend; the previous one stays.
bool rendererSelect(RendererKind kind);
RendererKind rendererSelected();
// The default of this build: GL 1.1 where it exists, else GLES2.
RendererKind rendererDefaultKind();
// "gl11" or "gles2" to a kind; false for any other text.
bool rendererKindFromName(const char* name, RendererKind* kind);

inline void rendererSetupFixedState() {
    activeRenderer->setupFixedState();
}
inline uint32_t rendererCreateLight(const RendererLight* light) {
    return activeRenderer->createLight(light);
}
inline void rendererSetProjection(int width, int height, double left, double right, double bottom,
                                  double top, double nearPlane, double farPlane) {
    activeRenderer->setProjection(width, height, left, right, bottom, top, nearPlane, farPlane);
}
inline void rendererClear() {
    activeRenderer->clear();
}
inline void rendererScissor(const DamageRect* rect) {
    activeRenderer->scissor(rect);
}
inline void rendererLoadIdentity() {
    activeRenderer->loadIdentity();
}
inline void rendererPushMatrix() {
    activeRenderer->pushMatrix();
}
inline void rendererPopMatrix() {
    activeRenderer->popMatrix();
}
inline void rendererTranslate(float x, float y, float z) {
    activeRenderer->translate(x, y, z);
}
inline void rendererUseLight(uint32_t light) {
    activeRenderer->useLight(light);
}
inline uint32_t rendererCreateTexture(const ImageRecord* record, const uint8_t* pixels) {
    return activeRenderer->createTexture(record, pixels);
}
inline void rendererDeleteTexture(uint32_t texture) {
    activeRenderer->deleteTexture(texture);
}
inline uint32_t rendererCreateBackground(const ImageRecord* record, const uint8_t* pixels) {
    return activeRenderer->createBackground(record, pixels);
}
inline void rendererDrawBackground(uint32_t background, float x, float y) {
    activeRenderer->drawBackground(background, x, y);
}
inline void rendererDrawBackgroundAtOrigin(uint32_t background) {
    activeRenderer->drawBackgroundAtOrigin(background);
}
inline void rendererDeleteBackground(uint32_t background) {
    activeRenderer->deleteBackground(background);
}
inline void rendererSetBackgroundOpacity(float opacity) {
    activeRenderer->setBackgroundOpacity(opacity);
}
inline uint32_t rendererCreateCover(const ImageRecord* record, const uint8_t* pixels) {
    return activeRenderer->createCover(record, pixels);
}
inline void rendererDrawCover(uint32_t cover, const float texCoords[4]) {
    activeRenderer->drawCover(cover, texCoords);
}
inline uint32_t rendererCreateSphere(double radius, uint32_t texture) {
    return activeRenderer->createSphere(radius, texture);
}
inline void rendererDrawSphere(uint32_t sphere) {
    activeRenderer->drawSphere(sphere);
}
inline void rendererDeleteSphere(uint32_t sphere) {
    activeRenderer->deleteSphere(sphere);
}
inline void rendererDrawPoints(const float emission[4], const float* xyz, uint32_t count) {
    activeRenderer->drawPoints(emission, xyz, count);
}
inline void rendererSetPointSize(float pixels) {
    activeRenderer->setPointSize(pixels);
}
inline void rendererDrawShade(const float rgba[4]) {
    activeRenderer->drawShade(rgba);
}
inline void rendererDrawText(const char* text, int width, int height) {
    activeRenderer->drawText(text, width, height);
}
inline void rendererFlush() {
    activeRenderer->flush();
}
inline void rendererReadPixels(int x, int y, int width, int height, uint8_t* rgb) {
    activeRenderer->readPixels(x, y, width, height, rgb);
}
inline void rendererForgetObjects() {
    activeRenderer->forgetObjects();
}
