// Text as quads in window pixels (y down from the top-left), shared by the renderers' overlays.
#pragma once

#include "render/damage.h"

inline constexpr int kTextMaxLength = 32;
// stb_easy_font's own rule of thumb: about 270 bytes of vertices per character.
inline constexpr int kTextVertexBufferBytes = 270 * kTextMaxLength;
inline constexpr int kTextBytesPerVertex = 16; // x, y, z as floats, then four colour bytes
inline constexpr int kTextVerticesPerQuad = 4;
inline constexpr float kTextScale = 2.0f; // the font's pixels are tiny on today's screens

// Lays out the first kTextMaxLength characters of text at the margin, in font pixels (to be
// scaled by kTextScale); returns the number of quads written to vertices.
int textQuadsBuild(const char* text, char vertices[kTextVertexBufferBytes]);
// The pixels the text covers in a drawable height pixels high, origin at its lower left.
DamageRect textQuadsBox(const char* text, int height);
