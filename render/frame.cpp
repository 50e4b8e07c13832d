// Fixed GL state, the projection, and one timed, stepped and drawn frame.
#include "render/frame.h"

#include <ctime>

#include "render/frame_clock.h"
#include "render/gl.h"
#include "render/picture_folder.h"
#include "render/spray_draw.h"
#include "render/texture.h"
#include "sim/physics.h"
#include "sim/random.h"
#include "sim/world.h"

uint32_t lightList = 0;
uint32_t backgroundList = 0;
uint32_t lastClockMs = 0;
double meanFrameTime = 0.0;
int32_t frameCount = 0;

namespace {

constexpr GLfloat kLightAmbient[4] = {0.1f, 0.1f, 0.1f, 1.0f};
constexpr GLfloat kLightDiffuse[4] = {0.9f, 0.9f, 0.9f, 1.0f};
constexpr GLfloat kLightSpecular[4] = {0.9f, 0.9f, 0.9f, 1.0f};
// w = 1: a point light one unit left, up and behind the eye (set while the matrix is identity).
constexpr GLfloat kLightPosition[4] = {-1.0f, 1.0f, 1.0f, 1.0f};
// The picture's lower-left corner, in the scene frame.
constexpr GLfloat kBackgroundRasterX = -3.0f;
constexpr GLfloat kBackgroundRasterY = -3.0f;
constexpr double kFrustumHalfWidth = 1.0;
constexpr double kNearPlane = 1.0;
constexpr double kFarPlane = 41.0;
constexpr double kSecondsPerMillisecond = 0.001;

void compileLightList() {
    lightList = glGenLists(1);
    glNewList(lightList, GL_COMPILE);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kLightDiffuse);
    glLightfv(GL_LIGHT0, GL_AMBIENT, kLightAmbient);
    glLightfv(GL_LIGHT0, GL_SPECULAR, kLightSpecular);
    glLightfv(GL_LIGHT0, GL_POSITION, kLightPosition);
    glEnable(GL_LIGHT0);
    glEndList();
}

} // namespace

void setupGL() {
    setupGLWithSeed(static_cast<uint32_t>(std::time(nullptr)));
}

void setupGLWithSeed(uint32_t seed) {
    randomSeed(seed);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_NORMALIZE);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glEnable(GL_LIGHTING);
    compileLightList();
    glPointSize(1.0f);
    backgroundList = loadBackground(picturePath(kBackgroundFile).c_str());
}

void resizeViewport(int width, int height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    const double aspect = static_cast<double>(height) / static_cast<double>(width);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-kFrustumHalfWidth, kFrustumHalfWidth, -aspect, aspect, kNearPlane, kFarPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

double frameTimingNextDt() {
    uint32_t now = frameClockRead();
    if (lastClockMs == 0) {
        // The first frame measures two back-to-back readings, normally 0.
        lastClockMs = now;
        now = frameClockRead();
    }
    const double elapsed = static_cast<int32_t>(now - lastClockMs) * kSecondsPerMillisecond;
    meanFrameTime = (frameCount * meanFrameTime + elapsed) / (frameCount + 1);
    frameCount += 1;
    lastClockMs = now;
    return kTimeScale * meanFrameTime;
}

void frameTimingReset() {
    lastClockMs = 0;
    meanFrameTime = 0.0;
    frameCount = 0;
}

void stepAndDrawFrame(double dt) {
    physicsStep(dt);

    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    glPushMatrix();
    glCallList(lightList); // with the identity loaded, the light stays fixed relative to the eye
    glTranslatef(0.0f, 0.0f, static_cast<GLfloat>(-kCameraDistance));

    glPushMatrix();
    glRasterPos3f(kBackgroundRasterX, kBackgroundRasterY, 0.0f);
    glCallList(backgroundList);
    glPopMatrix();

    // The view stays centred on where the bodies' mass started, not where it is now.
    glTranslatef(static_cast<GLfloat>(-centerOfMass.x), static_cast<GLfloat>(-centerOfMass.y),
                 static_cast<GLfloat>(-centerOfMass.z));
    // No depth test: each body and its spray cover whatever was drawn before them.
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        GravityObject* body = gravityListGet(&bodies, i);
        glPushMatrix();
        const Vertex p = getPosition(body);
        glTranslatef(static_cast<GLfloat>(p.x), static_cast<GLfloat>(p.y),
                     static_cast<GLfloat>(p.z));
        glCallList(body->displayList);
        glPopMatrix();
        updateAndDrawSpray(body, dt);
    }
    glPopMatrix();
    glFlush();
}

void renderFrame() {
    stepAndDrawFrame(frameTimingNextDt());
}
