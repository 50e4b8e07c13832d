// The GLES2 shader sources (lit, background, cover) and their compiling and linking.
#include "render/gles2_program.h"

#include <cstdio>

#include "render/error_report.h"
#include "render/gles2.h"

namespace {

// The lighting of a fixed-function GL with one positional light, no specular material, no
// local viewer and no attenuation, evaluated per vertex and clamped there as GL does.
constexpr const char* kLitVertex = R"(#version 100
attribute vec3 aPosition;
attribute vec3 aNormal;
attribute vec2 aTexCoord;
uniform mat4 uModelView;
uniform mat4 uModelViewProjection;
uniform mat3 uNormalMatrix;
uniform vec4 uLightPosition;
uniform float uLightOn;
uniform vec3 uBaseColour;
uniform vec3 uAmbientProduct;
uniform vec3 uDiffuseProduct;
uniform float uMaterialAlpha;
uniform float uPointSize;
varying vec4 vColour;
varying vec2 vTexCoord;
void main() {
    vec4 eye = uModelView * vec4(aPosition, 1.0);
    vec3 normal = uNormalMatrix * aNormal;
    vec3 toLight = normalize(uLightPosition.xyz - eye.xyz);
    float lambert = max(dot(normal, toLight), 0.0);
    vec3 colour = uBaseColour + uLightOn * (uAmbientProduct + lambert * uDiffuseProduct);
    vColour = vec4(clamp(colour, 0.0, 1.0), uMaterialAlpha);
    vTexCoord = aTexCoord;
    gl_Position = uModelViewProjection * vec4(aPosition, 1.0);
    gl_PointSize = uPointSize;
}
)";

// A round point (uPointShape: its square's side and its radius in pixels; radius 0 for the
// square one-pixel points) takes the coverage of roundPointCoverage as its alpha.
constexpr const char* kLitFragment = R"(#version 100
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform float uTextureOn;
uniform sampler2D uTexture;
uniform vec2 uPointShape;
varying vec4 vColour;
varying vec2 vTexCoord;
void main() {
    vec4 texel = texture2D(uTexture, vTexCoord);
    gl_FragColor = uTextureOn > 0.5 ? vColour * texel : vColour;
    if (uPointShape.y > 0.0) {
        float fromCentre = length(gl_PointCoord - 0.5) * uPointShape.x;
        float coverage = clamp(uPointShape.y + 0.5 - fromCentre, 0.0, 1.0);
        if (coverage <= 0.0) {
            discard;
        }
        gl_FragColor.a *= coverage;
    }
}
)";

constexpr const char* kBackgroundVertex = R"(#version 100
attribute vec2 aPosition;
uniform vec2 uOrigin;
uniform vec2 uSize;
uniform vec2 uViewport;
void main() {
    vec2 window = uOrigin + aPosition * uSize;
    gl_Position = vec4(window / uViewport * 2.0 - 1.0, 0.0, 1.0);
}
)";

// The texel is chosen from the pixel's own position, as a pixel rectangle does, not from an
// interpolated coordinate that could round into the neighbour.
constexpr const char* kBackgroundFragment = R"(#version 100
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform vec2 uOrigin;
uniform vec2 uSize;
uniform float uOpacity;
uniform sampler2D uPicture;
void main() {
    vec2 texel = floor(gl_FragCoord.xy - uOrigin);
    gl_FragColor = vec4(texture2D(uPicture, (texel + 0.5) / uSize).rgb, uOpacity);
}
)";

constexpr const char* kCoverVertex = R"(#version 100
attribute vec2 aPosition;
uniform vec2 uTexLow;
uniform vec2 uTexHigh;
varying vec2 vTexCoord;
void main() {
    vTexCoord = mix(uTexLow, uTexHigh, aPosition);
    gl_Position = vec4(aPosition * 2.0 - 1.0, 0.0, 1.0);
}
)";

constexpr const char* kCoverFragment = R"(#version 100
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform float uOpacity;
uniform sampler2D uPicture;
varying vec2 vTexCoord;
void main() {
    gl_FragColor = vec4(texture2D(uPicture, vTexCoord).rgb, uOpacity);
}
)";

constexpr int kLogSize = 1024;

GLuint compileShader(GLenum kind, const char* source) {
    const GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == 0) {
        char log[kLogSize] = "";
        glGetShaderInfoLog(shader, kLogSize, nullptr, log);
        std::fprintf(stderr, "shader: %s\n", log);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

GLuint linkProgram(const char* vertexSource, const char* fragmentSource) {
    const GLuint vertex = compileShader(GL_VERTEX_SHADER, vertexSource);
    const GLuint fragment = compileShader(GL_FRAGMENT_SHADER, fragmentSource);
    if (vertex == 0 || fragment == 0) {
        glDeleteShader(vertex);
        glDeleteShader(fragment);
        return 0;
    }
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glBindAttribLocation(program, kAttribPosition, "aPosition");
    glBindAttribLocation(program, kAttribNormal, "aNormal");
    glBindAttribLocation(program, kAttribTexCoord, "aTexCoord");
    glLinkProgram(program);
    glDeleteShader(vertex); // the program keeps them while it lives
    glDeleteShader(fragment);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked == 0) {
        char log[kLogSize] = "";
        glGetProgramInfoLog(program, kLogSize, nullptr, log);
        std::fprintf(stderr, "shader program: %s\n", log);
        glDeleteProgram(program);
        return 0;
    }
    return program;
}

} // namespace

bool gles2ProgramsBuild(LitProgram* lit, BackgroundProgram* background, CoverProgram* cover) {
    lit->program = linkProgram(kLitVertex, kLitFragment);
    background->program = linkProgram(kBackgroundVertex, kBackgroundFragment);
    cover->program = linkProgram(kCoverVertex, kCoverFragment);
    if (lit->program == 0 || background->program == 0 || cover->program == 0) {
        reportError("Could not build the shaders");
        return false;
    }
    const GLuint l = lit->program;
    lit->modelView = glGetUniformLocation(l, "uModelView");
    lit->modelViewProjection = glGetUniformLocation(l, "uModelViewProjection");
    lit->normalMatrix = glGetUniformLocation(l, "uNormalMatrix");
    lit->lightPosition = glGetUniformLocation(l, "uLightPosition");
    lit->lightOn = glGetUniformLocation(l, "uLightOn");
    lit->baseColour = glGetUniformLocation(l, "uBaseColour");
    lit->ambientProduct = glGetUniformLocation(l, "uAmbientProduct");
    lit->diffuseProduct = glGetUniformLocation(l, "uDiffuseProduct");
    lit->materialAlpha = glGetUniformLocation(l, "uMaterialAlpha");
    lit->textureOn = glGetUniformLocation(l, "uTextureOn");
    lit->texture = glGetUniformLocation(l, "uTexture");
    lit->pointSize = glGetUniformLocation(l, "uPointSize");
    lit->pointShape = glGetUniformLocation(l, "uPointShape");
    const GLuint b = background->program;
    background->origin = glGetUniformLocation(b, "uOrigin");
    background->size = glGetUniformLocation(b, "uSize");
    background->viewport = glGetUniformLocation(b, "uViewport");
    background->picture = glGetUniformLocation(b, "uPicture");
    background->opacity = glGetUniformLocation(b, "uOpacity");
    const GLuint c = cover->program;
    cover->texLow = glGetUniformLocation(c, "uTexLow");
    cover->texHigh = glGetUniformLocation(c, "uTexHigh");
    cover->picture = glGetUniformLocation(c, "uPicture");
    cover->opacity = glGetUniformLocation(c, "uOpacity");
    return true;
}
