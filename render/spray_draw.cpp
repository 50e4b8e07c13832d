// A body's spray as GL points in its spray colour.
#include "render/spray_draw.h"

#include "render/gl.h"
#include "sim/spray.h"

void drawSprayPoints(const GravityObject* body) {
    glPushMatrix();
    glPushAttrib(GL_LIGHTING_BIT);
    glMaterialfv(GL_FRONT, GL_EMISSION, body->sprayColor);
    glBegin(GL_POINTS);
    for (uint32_t i = 0; i < body->particleCount; i++) {
        const Vertex p = body->particles[i]->position;
        const GLfloat position[3] = {static_cast<GLfloat>(p.x), static_cast<GLfloat>(p.y),
                                     static_cast<GLfloat>(p.z)};
        glVertex3fv(position);
    }
    glEnd();
    glPopAttrib();
    glPopMatrix();
}

void updateAndDrawSpray(GravityObject* body, double dt) {
    updateSpray(body, dt);
    drawSprayPoints(body);
}
