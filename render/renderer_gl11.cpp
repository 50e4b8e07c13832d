// The GL 1.1 backend: fixed-function lighting, display lists, glDrawPixels and the GLU sphere.
#include <algorithm>
#include <cmath>
#include <vector>

#include "render/fps_overlay.h"
#include "render/gl.h"
#include "render/gl11_round_points.h"
#include "render/renderer_backends.h"
#include "render/round_point.h"

namespace {

// GL's "three colour components" internal format of 1.1.
constexpr GLint kRgbComponents = 3;
constexpr int kRgbChannels = 3;
// Columns and rows drawn beyond the scissor box on each side, so that a raster position between
// pixels never leaves one of its pixels out; the scissor drops them again.
constexpr int kPictureMargin = 1;

// A background: glDrawPixels takes its pixels from here, so that under a scissor box only the
// rows and columns inside it are sent, not the whole picture.
struct Picture {
    int width = 0; // 0: no pixels, or a free slot
    int height = 0;
    std::vector<uint8_t> rgb; // bottom row first, rows packed
    bool used = false;
};

std::vector<Picture> pictures;
bool scissorOn = false;
DamageRect scissorBox{};
float pointSize = kSquarePointSize;
float backgroundOpacity = 1.0f;

// Blending by the source's alpha, the colour buffer's attributes pushed first.
void beginBlending() {
    glPushAttrib(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void scissor(const DamageRect* rect) {
    scissorOn = rect != nullptr;
    if (rect == nullptr) {
        glDisable(GL_SCISSOR_TEST);
        return;
    }
    scissorBox = *rect;
    glScissor(rect->x, rect->y, rect->width, rect->height);
    glEnable(GL_SCISSOR_TEST);
}

void setupFixedState() {
    // Set-up starts the scene's objects afresh, and the pictures are held here, not by GL.
    pictures.clear();
    scissor(nullptr);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_NORMALIZE);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glEnable(GL_LIGHTING);
    glPointSize(kSquarePointSize);
    pointSize = kSquarePointSize;
    backgroundOpacity = 1.0f;
    gl11ForgetRoundPoints();
}

uint32_t createLight(const RendererLight* light) {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, light->diffuse);
    glLightfv(GL_LIGHT0, GL_AMBIENT, light->ambient);
    glLightfv(GL_LIGHT0, GL_SPECULAR, light->specular);
    glLightfv(GL_LIGHT0, GL_POSITION, light->position);
    glEnable(GL_LIGHT0);
    glEndList();
    return list;
}

void setProjection(int width, int height, double left, double right, double bottom, double top,
                   double nearPlane, double farPlane) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(left, right, bottom, top, nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void clear() {
    glClear(GL_COLOR_BUFFER_BIT);
}

void loadIdentity() {
    glLoadIdentity();
}

void pushMatrix() {
    glPushMatrix();
}

void popMatrix() {
    glPopMatrix();
}

void translate(float x, float y, float z) {
    glTranslatef(x, y, z);
}

void useLight(uint32_t light) {
    glCallList(light);
}

uint32_t createTexture(const ImageRecord* record, const uint8_t* pixels) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1); // rows of 3-byte pixels are not 4-byte aligned
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, kRgbComponents, record->paddedWidth, record->paddedHeight, 0,
                 GL_RGB, GL_UNSIGNED_BYTE, pixels);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLfloat>(GL_REPEAT));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLfloat>(GL_REPEAT));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_NEAREST));
    // One level only: with nearest minification that is a complete texture.
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_NEAREST));
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(GL_MODULATE));
    return name;
}

void deleteTexture(uint32_t texture) {
    const GLuint name = texture;
    if (name != 0) {
        glDeleteTextures(1, &name);
    }
}

uint32_t createBackground(const ImageRecord* record, const uint8_t* pixels) {
    Picture picture;
    picture.used = true;
    if (pixels != nullptr) {
        picture.width = record->paddedWidth;
        picture.height = record->paddedHeight;
        picture.rgb.assign(pixels, pixels + static_cast<size_t>(picture.width) * picture.height *
                                                kRgbChannels);
    }
    for (size_t i = 0; i < pictures.size(); i++) {
        if (!pictures[i].used) {
            pictures[i] = std::move(picture);
            return static_cast<uint32_t>(i + 1);
        }
    }
    pictures.push_back(std::move(picture));
    return static_cast<uint32_t>(pictures.size());
}

// The picture's part from column first to before last of count.
struct PictureSpan {
    int first = 0;
    int last = 0;
};

// The columns (or rows) of a picture of size whose first lands at raster that can show within
// the box from low for length pixels.
PictureSpan spanInside(float raster, int size, int low, int length) {
    const int first =
        static_cast<int>(std::floor(static_cast<float>(low) - raster)) - kPictureMargin;
    const int last =
        static_cast<int>(std::ceil(static_cast<float>(low + length) - raster)) + kPictureMargin;
    return {std::clamp(first, 0, size), std::clamp(last, 0, size)};
}

// At the current raster position: the whole picture, or under a scissor box only its part
// inside, sent with the unpack skips and moved there with an empty bitmap (both GL 1.0).
void sendPicture(const Picture& p) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (!scissorOn) {
        glDrawPixels(p.width, p.height, GL_RGB, GL_UNSIGNED_BYTE, p.rgb.data());
        return;
    }
    GLboolean valid = GL_FALSE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (valid == GL_FALSE) {
        return; // nothing of the picture is drawn at all
    }
    GLfloat raster[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    const PictureSpan columns = spanInside(raster[0], p.width, scissorBox.x, scissorBox.width);
    const PictureSpan rows = spanInside(raster[1], p.height, scissorBox.y, scissorBox.height);
    if (columns.last <= columns.first || rows.last <= rows.first) {
        return;
    }
    const auto moveX = static_cast<GLfloat>(columns.first);
    const auto moveY = static_cast<GLfloat>(rows.first);
    glBitmap(0, 0, 0.0f, 0.0f, moveX, moveY, nullptr);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, p.width);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, columns.first);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, rows.first);
    glDrawPixels(columns.last - columns.first, rows.last - rows.first, GL_RGB, GL_UNSIGNED_BYTE,
                 p.rgb.data());
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glBitmap(0, 0, 0.0f, 0.0f, -moveX, -moveY, nullptr);
}

// Below full opacity the pixels' alpha, 1 as they are read, becomes the opacity on the way in
// (scale 0, bias the opacity), and they are blended by it.
void drawPicture(uint32_t handle) {
    if (handle == 0 || handle > pictures.size() || pictures[handle - 1].width == 0 ||
        backgroundOpacity <= 0.0f) {
        return;
    }
    if (backgroundOpacity >= 1.0f) {
        sendPicture(pictures[handle - 1]);
        return;
    }
    glPushAttrib(GL_PIXEL_MODE_BIT);
    glPixelTransferf(GL_ALPHA_SCALE, 0.0f);
    glPixelTransferf(GL_ALPHA_BIAS, backgroundOpacity);
    beginBlending();
    sendPicture(pictures[handle - 1]);
    glPopAttrib();
    glPopAttrib();
}

void drawBackground(uint32_t background, float x, float y) {
    glRasterPos3f(x, y, 0.0f);
    drawPicture(background);
}

// Both matrices are set aside for identities, under which (-1, -1) is the window's corner.
void loadWindowCorner() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void restoreMatrices() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void drawBackgroundAtOrigin(uint32_t background) {
    loadWindowCorner();
    glRasterPos2f(-1.0f, -1.0f);
    drawPicture(background);
    restoreMatrices();
}

void deleteBackground(uint32_t background) {
    if (background != 0 && background <= pictures.size()) {
        pictures[background - 1] = Picture{};
    }
}

void setBackgroundOpacity(float opacity) {
    backgroundOpacity = opacity < 1.0f ? std::max(opacity, 0.0f) : 1.0f; // NaN: opaque
}

uint32_t createCover(const ImageRecord* record, const uint8_t* pixels) {
    if (pixels == nullptr) {
        return 0;
    }
    const uint32_t name = createTexture(record, pixels);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_LINEAR));
    return name;
}

// Pushing the texture attributes is costly (every unit's state is copied), so the few that
// change are put back by hand.
// Below full opacity the quad's colour carries it: replacing by an RGB texture keeps the
// fragment's alpha, which blending then uses. The current colour and texture coordinates are
// put back by hand too: Mesa's software GL does not restore a colour set outside glBegin from
// the attribute stack once the quad's texture coordinates have been sent.
void drawCover(uint32_t cover, const float texCoords[4]) {
    if (cover == 0 || backgroundOpacity <= 0.0f) {
        return;
    }
    GLfloat colour[4];
    GLfloat texCoord[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texCoord);
    const bool translucent = backgroundOpacity < 1.0f;
    if (translucent) {
        glColor4f(1.0f, 1.0f, 1.0f, backgroundOpacity);
        beginBlending();
    }
    const GLboolean lighting = glIsEnabled(GL_LIGHTING);
    const GLboolean texturing = glIsEnabled(GL_TEXTURE_2D);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    GLint environment = GL_MODULATE;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &environment);
    loadWindowCorner();
    glDisable(GL_LIGHTING);
    glBindTexture(GL_TEXTURE_2D, cover);
    glEnable(GL_TEXTURE_2D);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(GL_REPLACE));
    glBegin(GL_QUADS);
    glTexCoord2f(texCoords[0], texCoords[1]);
    glVertex2f(-1.0f, -1.0f);
    glTexCoord2f(texCoords[2], texCoords[1]);
    glVertex2f(1.0f, -1.0f);
    glTexCoord2f(texCoords[2], texCoords[3]);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(texCoords[0], texCoords[3]);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(environment));
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    if (texturing == GL_FALSE) {
        glDisable(GL_TEXTURE_2D);
    }
    if (lighting != GL_FALSE) {
        glEnable(GL_LIGHTING);
    }
    restoreMatrices();
    if (translucent) {
        glPopAttrib();
    }
    glColor4fv(colour);
    glTexCoord4fv(texCoord);
}

uint32_t createSphere(double radius, uint32_t texture) {
    GLUquadric* quadric = gluNewQuadric();
    if (quadric == nullptr) {
        return 0; // calling list 0 draws nothing, so the body simply goes unseen
    }
    gluQuadricDrawStyle(quadric, GLU_FILL);
    gluQuadricNormals(quadric, GLU_SMOOTH);
    gluQuadricOrientation(quadric, GLU_OUTSIDE);
    gluQuadricTexture(quadric, GL_TRUE);

    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    if (texture != 0) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glEnable(GL_TEXTURE_2D);
    }
    glMaterialfv(GL_FRONT, GL_DIFFUSE, kSphereMaterial);
    // Stand the quadric's pole axis on y, so the picture wraps around the vertical axis.
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    gluSphere(quadric, radius, kSphereSlices, kSphereStacks);
    glDisable(GL_TEXTURE_2D);
    glEndList();

    gluDeleteQuadric(quadric); // only needed while the list was recorded
    return list;
}

void drawSphere(uint32_t sphere) {
    glCallList(sphere);
}

void deleteSphere(uint32_t sphere) {
    if (sphere != 0) {
        glDeleteLists(sphere, 1);
    }
}

void drawPoints(const float emission[4], const float* xyz, uint32_t count) {
    if (pointSize > kSquarePointSize) {
        gl11DrawRoundPoints(emission, xyz, count, pointSize);
        return;
    }
    glPushMatrix();
    glPushAttrib(GL_LIGHTING_BIT);
    glMaterialfv(GL_FRONT, GL_EMISSION, emission);
    glBegin(GL_POINTS);
    for (uint32_t i = 0; i < count; i++) {
        glVertex3fv(&xyz[3 * i]);
    }
    glEnd();
    glPopAttrib();
    glPopMatrix();
}

void setPointSize(float pixels) {
    pointSize = pixels > kSquarePointSize ? std::min(pixels, kLargestRoundPoint) : kSquarePointSize;
}

void drawShade(const float rgba[4]) {
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
    loadWindowCorner();
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4fv(rgba);
    glRectf(-1.0f, -1.0f, 1.0f, 1.0f);
    restoreMatrices();
    glPopAttrib();
}

void flush() {
    glFlush();
}

void readPixels(int x, int y, int width, int height, uint8_t* rgb) {
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb);
}

// The display lists and textures are the callers' names; only the pictures are held here.
void forgetObjects() {
    pictures.clear();
}

} // namespace

const RendererBackend kGl11Renderer = {
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
    .drawText = drawFpsOverlay,
    .flush = flush,
    .readPixels = readPixels,
    .forgetObjects = forgetObjects,
};
