// The one place that includes the OpenGL and GLU headers.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
