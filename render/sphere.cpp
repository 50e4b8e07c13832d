// The GL half of a body's appearance: its picture as a texture and its sphere as a display list.
#include "render/sphere.h"

#include "render/gl.h"
#include "render/picture_folder.h"
#include "render/texture.h"
#include "sim/scene.h"

namespace {

constexpr GLfloat kSphereMaterial[4] = {0.8f, 0.8f, 0.8f, 1.0f};
constexpr GLint kSphereSlices = 10;
constexpr GLint kSphereStacks = 10;

uint32_t loadBodyTexture(int textureIndex) {
    ImageRecord scratch{};
    return loadTexture(picturePath(kTextureFiles[textureIndex]).c_str(), &scratch);
}

} // namespace

uint32_t compileSphereList(const GravityObject* body) {
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
    if (body->texture != 0) {
        glBindTexture(GL_TEXTURE_2D, body->texture);
        glEnable(GL_TEXTURE_2D);
    }
    glMaterialfv(GL_FRONT, GL_DIFFUSE, kSphereMaterial);
    // Stand the quadric's pole axis on y, so the picture wraps around the vertical axis.
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    gluSphere(quadric, body->radius, kSphereSlices, kSphereStacks);
    glDisable(GL_TEXTURE_2D);
    glEndList();

    gluDeleteQuadric(quadric); // only needed while the list was recorded
    return list;
}

void installGLAppearance() {
    SceneAppearance appearance;
    appearance.loadBodyTexture = loadBodyTexture;
    appearance.compileSphereList = compileSphereList;
    sceneSetAppearance(appearance);
}
