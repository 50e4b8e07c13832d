// The GL 1.1 backend's text: stb_easy_font's quads drawn in window pixels.
#include "render/fps_overlay.h"

#include "render/gl.h"
#include "render/text_quads.h"

void drawFpsOverlay(const char* text, int width, int height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    static char vertices[kTextVertexBufferBytes];
    const int quads = textQuadsBuild(text, vertices);

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
    glScalef(kTextScale, kTextScale, 1.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, kTextBytesPerVertex, vertices);
    glDrawArrays(GL_QUADS, 0, quads * kTextVerticesPerQuad);
    glPopClientAttrib();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}
