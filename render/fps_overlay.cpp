// The frames-per-second text: stb_easy_font's quads drawn in window pixels.
#include "render/fps_overlay.h"

#include <cstring>

#include "render/gl.h"

#define STB_EASY_FONT_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wconversion"
#pragma GCC diagnostic ignored "-Wsign-conversion"
#pragma GCC diagnostic ignored "-Wdouble-promotion"
#pragma GCC diagnostic ignored "-Wold-style-cast"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wcast-qual"
#pragma GCC diagnostic ignored "-Wuseless-cast"
#endif
#include <stb/stb_easy_font.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

constexpr int kMaxTextLength = 32;
// stb_easy_font's own rule of thumb: about 270 bytes of vertices per character.
constexpr int kVertexBufferBytes = 270 * kMaxTextLength;
constexpr int kBytesPerVertex = 16; // x, y, z as floats, then four colour bytes
constexpr int kVerticesPerQuad = 4;
constexpr float kMargin = 4.0f;
constexpr float kScale = 2.0f; // the font's pixels are tiny on today's screens

} // namespace

void drawFpsOverlay(const char* text, int width, int height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    char line[kMaxTextLength + 1] = {};
    std::strncpy(line, text, kMaxTextLength);
    static char vertices[kVertexBufferBytes];
    const int quads = stb_easy_font_print(kMargin, kMargin, line, nullptr, vertices,
                                          static_cast<int>(sizeof vertices));

    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE); // the font's quads wind the other way once y points down
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width, height, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glScalef(kScale, kScale, 1.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, kBytesPerVertex, vertices);
    glDrawArrays(GL_QUADS, 0, quads * kVerticesPerQuad);
    glPopClientAttrib();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}
