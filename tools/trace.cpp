// velmorin-trace: runs the simulation headless from a seed and prints every body's state per frame.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "common/cli_args.h"
#include "sim/physics.h"
#include "sim/random.h"
#include "sim/scene.h"
#include "sim/spray.h"
#include "sim/world.h"

namespace {

constexpr int kUsageStatus = 2;
constexpr const char* kUsage = "usage: velmorin-trace --seed S --frames N --dt D [--particles]\n";

struct TraceOptions {
    uint32_t seed = 0;
    unsigned long long frames = 0;
    double dt = 0.0;
    bool particles = false;
};

bool parseOptions(int argc, char** argv, TraceOptions* options) {
    bool haveSeed = false;
    bool haveFrames = false;
    bool haveDt = false;
    for (int i = 1; i < argc; i++) {
        const char* flag = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (std::strcmp(flag, "--particles") == 0) {
            options->particles = true;
        } else if (std::strcmp(flag, "--seed") == 0 && !haveSeed) {
            if (!parseSeedArg(value, &options->seed)) {
                return false;
            }
            haveSeed = true;
            i++;
        } else if (std::strcmp(flag, "--frames") == 0 && !haveFrames) {
            if (!parseUnsignedArg(value, UINT64_MAX, &options->frames)) {
                return false;
            }
            haveFrames = true;
            i++;
        } else if (std::strcmp(flag, "--dt") == 0 && !haveDt) {
            if (!parseFiniteArg(value, &options->dt)) {
                return false;
            }
            haveDt = true;
            i++;
        } else {
            return false;
        }
    }
    return haveSeed && haveFrames && haveDt;
}

// The scene's texture choices, recorded in creation order since the trace has no GL textures.
int chosenTextureIndex[kMaxBodies];
uint32_t chosenTextureCount = 0;

uint32_t recordTextureChoice(int textureIndex) {
    if (chosenTextureCount < kMaxBodies) {
        chosenTextureIndex[chosenTextureCount++] = textureIndex;
    }
    return 0;
}

void printBodies() {
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        const GravityObject* b = gravityListGet(&bodies, i);
        std::printf(
            "body\t%u\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%d\n",
            i, b->position.x, b->position.y, b->position.z, b->radius, b->mass, b->inertia,
            static_cast<double>(b->sprayColor[0]), static_cast<double>(b->sprayColor[1]),
            static_cast<double>(b->sprayColor[2]), static_cast<double>(b->sprayColor[3]),
            chosenTextureIndex[i]);
    }
    std::printf("center\t%.17g\t%.17g\t%.17g\n", centerOfMass.x, centerOfMass.y, centerOfMass.z);
}

void printFrame(unsigned long long frame, bool withParticles) {
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        const GravityObject* b = gravityListGet(&bodies, i);
        std::printf("state\t%llu\t%u\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\n", frame, i,
                    b->position.x, b->position.y, b->position.z, b->velocity.dir.x,
                    b->velocity.dir.y, b->velocity.dir.z, b->velocity.mag);
    }
    if (!withParticles) {
        return;
    }
    for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
        const GravityObject* b = gravityListGet(&bodies, i);
        for (uint32_t k = 0; k < b->particleCount; k++) {
            const Particle* p = b->particles[k];
            std::printf("particle\t%llu\t%u\t%u\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\t%.17g\n",
                        frame, i, k, p->position.x, p->position.y, p->position.z, p->velocity.dir.x,
                        p->velocity.dir.y, p->velocity.dir.z, p->velocity.mag);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
    // In text mode the C runtime writes every "\n" as "\r\n"; the trace must be the same bytes
    // on every system.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    TraceOptions options;
    if (!parseOptions(argc, argv, &options)) {
        std::fputs(kUsage, stderr);
        return kUsageStatus;
    }

    SceneAppearance appearance;
    appearance.loadBodyTexture = recordTextureChoice;
    sceneSetAppearance(appearance);

    randomSeed(options.seed);
    createScene();
    printBodies();
    for (unsigned long long frame = 1; frame <= options.frames; frame++) {
        physicsStep(options.dt);
        for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
            updateSpray(gravityListGet(&bodies, i), options.dt);
        }
        printFrame(frame, options.particles);
    }
    freeBodies();
    return std::fflush(stdout) == 0 ? 0 : 1;
}
