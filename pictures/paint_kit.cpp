// Noise layers, domain warping and integer powers.
#include "pictures/paint_kit.h"

#include "pictures/colour.h"

namespace {

// Mixed into the seed for the y and z components of a warp, so the three are unrelated.
constexpr uint32_t kWarpSeedY = 0x2545F491u;
constexpr uint32_t kWarpSeedZ = 0x4F6CDD1Du;

} // namespace

double sampleFbm(Vertex p, const NoiseLayer& layer) {
    return sumFbm(vertexScale(p, layer.frequency), layer.seed, layer.shape);
}

double sampleRidged(Vertex p, const NoiseLayer& layer) {
    return sumRidgedFbm(vertexScale(p, layer.frequency), layer.seed, layer.shape);
}

Vertex warpPoint(Vertex p, const Warp& warp) {
    const Vertex q = vertexScale(p, warp.frequency);
    const Vertex push{sumFbm(q, warp.seed, warp.shape),
                      sumFbm(q, warp.seed ^ kWarpSeedY, warp.shape),
                      sumFbm(q, warp.seed ^ kWarpSeedZ, warp.shape)};
    return addPoints(p, vertexScale(push, warp.strength));
}

double rampUp(const Ramp01& ramp, double x) {
    return smoothStep(ramp.from, ramp.to, x);
}

double raisePower(double x, int n) {
    double result = 1.0;
    for (int i = 0; i < n; ++i) {
        result = result * x;
    }
    return result;
}
