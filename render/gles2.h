// The one place that includes the OpenGL ES 2 API (or desktop GL's copy of the same calls).
#pragma once

#if defined(__EMSCRIPTEN__)
#include <GLES2/gl2.h>
#else
// Desktop GL exports every ES 2 entry point under the same name; an ES 2 context reached
// through it dispatches them to the ES driver.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#endif
