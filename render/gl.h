// The one place that includes the OpenGL and GLU headers.
#pragma once

#if defined(_WIN32)
// Windows' GL headers need three calling-convention macros that normally come from windows.h.
// Defining them here, and only for the two includes, keeps windows.h (and its macros) out of the
// core; a file that has already included windows.h keeps its own definitions.
#if !defined(APIENTRY)
#define APIENTRY __stdcall
#define VELMORIN_DEFINED_APIENTRY
#endif
#if !defined(WINGDIAPI)
#define WINGDIAPI __declspec(dllimport)
#define VELMORIN_DEFINED_WINGDIAPI
#endif
#if !defined(CALLBACK)
#define CALLBACK __stdcall
#define VELMORIN_DEFINED_CALLBACK
#endif
#endif

#include <GL/gl.h>
#include <GL/glu.h>

#if defined(VELMORIN_DEFINED_APIENTRY)
#undef APIENTRY
#undef VELMORIN_DEFINED_APIENTRY
#endif
#if defined(VELMORIN_DEFINED_WINGDIAPI)
#undef WINGDIAPI
#undef VELMORIN_DEFINED_WINGDIAPI
#endif
#if defined(VELMORIN_DEFINED_CALLBACK)
#undef CALLBACK
#undef VELMORIN_DEFINED_CALLBACK
#endif
