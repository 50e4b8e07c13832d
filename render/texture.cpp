// Pictures as GL objects: a sphere texture, or a display list that draws the background.
#include "render/texture.h"

#include <cstdlib>

#include "render/gl.h"

namespace {

// GL's "three colour components" internal format of 1.1.
constexpr GLint kRgbComponents = 3;

} // namespace

uint32_t loadTexture(const char* fileName, ImageRecord* record) {
    uint8_t* headerBlock = nullptr;
    uint8_t* pixels = readBmp(fileName, &headerBlock, record);
    if (pixels == nullptr) {
        return 0;
    }
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
    std::free(pixels);
    std::free(headerBlock);
    return name;
}

uint32_t loadBackground(const char* fileName) {
    uint8_t* headerBlock = nullptr;
    ImageRecord record{};
    uint8_t* pixels = readBmp(fileName, &headerBlock, &record);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    if (pixels != nullptr) {
        // GL copies the pixels into the list now, so they can be released right after.
        glDrawPixels(record.paddedWidth, record.paddedHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    }
    glEndList();
    std::free(pixels);
    if (pixels != nullptr) {
        std::free(headerBlock);
    }
    return list;
}
