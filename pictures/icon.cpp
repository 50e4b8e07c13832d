// Paints the application icon by tracing each pixel's samples onto a lit, textured sphere.
#include "pictures/icon.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "math/vertex.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 2.0 * kPi;
constexpr int kRgbaChannels = 4;
constexpr double kByteMax = 255.0;
constexpr double kRoundHalfUp = 0.5;
// Samples per pixel along each axis: 16 samples smooth the rim well enough for an icon.
constexpr int kSamplesPerAxis = 4;
// Empty border on each side, as a fraction of the icon's size, so the rim is not cut off.
constexpr double kMargin = 0.03;
// How far the north pole leans towards the viewer, and how far the sphere is turned about its
// axis, in radians; chosen so the surface's pattern, not its pole, faces the viewer.
constexpr double kTilt = 0.4;
constexpr double kSpin = 1.1;
constexpr double kAmbient = 0.22;
constexpr double kDiffuse = 0.85;
constexpr double kSpecular = 0.35;
constexpr double kShininess = 24.0;
// View space: x to the right, y up, z towards the viewer.
constexpr Vertex kLightFrom = {-0.45, 0.55, 0.7};
constexpr Vertex kViewer = {0.0, 0.0, 1.0};

Colour readTexel(const Image& surface, int x, int y) {
    const Rgb8 p = readPixel(surface, x, y);
    return {p.r / kByteMax, p.g / kByteMax, p.b / kByteMax};
}

// Bilinear lookup; longitude wraps around, latitude stops at the poles.
Colour sampleSurface(const Image& surface, double u, double v) {
    const double fx = u * surface.width - 0.5;
    const double fy = std::clamp(v * surface.height - 0.5, 0.0, surface.height - 1.0);
    const double x0 = std::floor(fx);
    const double y0 = std::floor(fy);
    const double tx = fx - x0;
    const double ty = fy - y0;
    const int left = (static_cast<int>(x0) % surface.width + surface.width) % surface.width;
    const int right = (left + 1) % surface.width;
    const int top = static_cast<int>(y0);
    const int bottom = std::min(top + 1, surface.height - 1);
    const Colour upper =
        mixColours(readTexel(surface, left, top), readTexel(surface, right, top), tx);
    const Colour lower =
        mixColours(readTexel(surface, left, bottom), readTexel(surface, right, bottom), tx);
    return mixColours(upper, lower, ty);
}

// The surface colour at a point of the unit sphere seen from the front (normal in view space).
Colour shadeSpherePoint(const Image& surface, Vertex normal) {
    const Vertex north = {0.0, std::cos(kTilt), std::sin(kTilt)};
    const Vertex east = {1.0, 0.0, 0.0};
    const Vertex third = {0.0, std::sin(kTilt), -std::cos(kTilt)}; // north x east
    const double x = vertexDot(normal, east);
    const double y = vertexDot(normal, third);
    const double z = std::clamp(vertexDot(normal, north), -1.0, 1.0);
    const double u = (std::atan2(y, x) + kSpin) / kTwoPi;
    const double v = std::acos(z) / kPi;
    const Colour texel = sampleSurface(surface, u - std::floor(u), v);

    const Vertex light = vertexNormalize(kLightFrom);
    const double lambert = std::max(0.0, vertexDot(normal, light));
    const Vertex reflected = vertexSub(vertexScale(normal, 2.0 * vertexDot(normal, light)), light);
    const double highlight =
        lambert > 0.0
            ? kSpecular * std::pow(std::max(0.0, vertexDot(reflected, kViewer)), kShininess)
            : 0.0;
    const Colour lit = scaleColour(texel, kAmbient + kDiffuse * lambert);
    return addColours(lit, {highlight, highlight, highlight});
}

uint8_t quantiseUnit(double c) {
    return static_cast<uint8_t>(clampUnit(c) * kByteMax + kRoundHalfUp);
}

} // namespace

RgbaImage paintSphereIcon(const Image& surface, int size) {
    RgbaImage icon;
    icon.width = size;
    icon.height = size;
    icon.bytes.resize(static_cast<size_t>(size) * static_cast<size_t>(size) * kRgbaChannels);
    const double radius = 0.5 * size * (1.0 - 2.0 * kMargin);
    const double centre = 0.5 * size;
    constexpr int kSamples = kSamplesPerAxis * kSamplesPerAxis;
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            Colour sum;
            int covered = 0;
            for (int s = 0; s < kSamples; ++s) {
                const double sx = px + (s % kSamplesPerAxis + 0.5) / kSamplesPerAxis;
                const double sy = py + (s / kSamplesPerAxis + 0.5) / kSamplesPerAxis;
                const double x = (sx - centre) / radius;
                const double y = (centre - sy) / radius; // rows run downwards, y upwards
                const double r2 = x * x + y * y;
                if (r2 > 1.0) {
                    continue;
                }
                sum = addColours(sum, shadeSpherePoint(surface, {x, y, std::sqrt(1.0 - r2)}));
                covered++;
            }
            uint8_t* out = &icon.bytes[(static_cast<size_t>(py) * static_cast<size_t>(size) +
                                        static_cast<size_t>(px)) *
                                       kRgbaChannels];
            if (covered > 0) {
                const Colour mean = scaleColour(sum, 1.0 / covered);
                out[0] = quantiseUnit(mean.r);
                out[1] = quantiseUnit(mean.g);
                out[2] = quantiseUnit(mean.b);
            }
            out[3] = quantiseUnit(static_cast<double>(covered) / kSamples);
        }
    }
    return icon;
}
