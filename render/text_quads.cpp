// The frame-rate text laid out as quads by the bitmap font, at the top-left margin.
#include "render/text_quads.h"

#include <cstring>

#define STB_EASY_FONT_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#if defined(__clang__)
#pragma clang diagnostic ignored "-Wunknown-warning-option" // some of GCC's names below
#endif
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

constexpr float kMargin = 4.0f;

} // namespace

int textQuadsBuild(const char* text, char vertices[kTextVertexBufferBytes]) {
    char line[kTextMaxLength + 1] = {};
    std::strncpy(line, text, kTextMaxLength);
    return stb_easy_font_print(kMargin, kMargin, line, nullptr, vertices, kTextVertexBufferBytes);
}
