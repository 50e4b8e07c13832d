// The GLES2 backend's three shader programs and their uniform locations, looked up once.
#pragma once

#include <cstdint>

// Attribute slots, bound before linking so that both programs agree on them.
inline constexpr uint32_t kAttribPosition = 0;
inline constexpr uint32_t kAttribNormal = 1;
inline constexpr uint32_t kAttribTexCoord = 2;

// Spheres and points: the fixed-function lighting equation per vertex, one point light,
// optionally modulated by a texture.
struct LitProgram {
    uint32_t program = 0;
    int modelView = -1;
    int modelViewProjection = -1;
    int normalMatrix = -1;
    int lightPosition = -1;  // eye space, w = 1
    int lightOn = -1;        // 0 or 1
    int baseColour = -1;     // emission + material ambient * scene ambient
    int ambientProduct = -1; // light ambient * material ambient
    int diffuseProduct = -1; // light diffuse * material diffuse
    int materialAlpha = -1;
    int textureOn = -1; // 0 or 1
    int texture = -1;
    int pointSize = -1;  // the square rasterised for each point, pixels
    int pointShape = -1; // that square's side and the round point's radius in pixels (0: square)
};

// The background: window pixels taken one texel each from a picture, unlit.
struct BackgroundProgram {
    uint32_t program = 0;
    int origin = -1;   // window position of the picture's lower-left corner
    int size = -1;     // picture size in texels
    int viewport = -1; // window size in pixels
    int picture = -1;
    int opacity = -1; // the alpha it is blended with
};

// A picture scaled over the whole viewport, unlit.
struct CoverProgram {
    uint32_t program = 0;
    int texLow = -1;  // texture coordinates at the viewport's lower-left corner
    int texHigh = -1; // and at its upper-right corner
    int picture = -1;
    int opacity = -1; // the alpha it is blended with
};

// Compiles and links all three; false (after reporting) when the driver refuses them.
bool gles2ProgramsBuild(LitProgram* lit, BackgroundProgram* background, CoverProgram* cover);
