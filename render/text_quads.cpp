// The frame-rate text laid out as quads by the bitmap font, at the top-left margin.
#include "render/text_quads.h"

#include <cmath>
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
// A pixel more than the quads' corners reach, for the rasteriser's rounding.
constexpr int kBoxSlack = 1;

} // namespace

int textQuadsBuild(const char* text, char vertices[kTextVertexBufferBytes]) {
    char line[kTextMaxLength + 1] = {};
    std::strncpy(line, text, kTextMaxLength);
    return stb_easy_font_print(kMargin, kMargin, line, nullptr, vertices, kTextVertexBufferBytes);
}

DamageRect textQuadsBox(const char* text, int height) {
    static char vertices[kTextVertexBufferBytes];
    const int quads = textQuadsBuild(text, vertices);
    float right = 0.0f;
    float bottom = 0.0f;
    for (int v = 0; v < quads * kTextVerticesPerQuad; v++) {
        float xy[2];
        std::memcpy(xy, &vertices[v * kTextBytesPerVertex], sizeof xy);
        right = std::fmax(right, xy[0]);
        bottom = std::fmax(bottom, xy[1]);
    }
    if (quads <= 0) {
        return {};
    }
    const int width = static_cast<int>(std::ceil(right * kTextScale)) + kBoxSlack;
    const int depth = static_cast<int>(std::ceil(bottom * kTextScale)) + kBoxSlack;
    return {0, height - depth, width, depth};
}
