// The background's mode, its scaled and exact-size pictures, and the covering draw.
#include "render/background.h"

#include <algorithm>
#include <vector>

#include "render/cover_rect.h"
#include "render/renderer.h"

namespace {

// Linear filtering blends each sample with its neighbours. Enlarged, the outermost pixels'
// samples fall within half a texel of the picture's edge, where the neighbour would be the
// padding beyond it: moving the ends in by half a texel less half a pixel keeps them inside,
// and at one texel a pixel each sample stays on a texel's centre.
constexpr double kHalfTexel = 0.5;

// The painter's picture for drawables of exactly width by height.
struct ExactPicture {
    uint32_t texture = 0;
    int width = 0;
    int height = 0;
};

struct BackgroundState {
    BackgroundMode mode = BackgroundMode::Fixed;
    uint32_t cover = 0; // the scaled picture, 0 when not filling or not read
    ImageRecord coverRecord{};
    std::vector<ExactPicture> exact; // at most one a size
};

BackgroundState state;
// Counts every change of what the background shows.
uint32_t changes = 0;

// One side of the shown part, drawn over pixels pixels, as texture coordinates of a padded side.
void insetSide(double start, double length, int pixels, int padded, float* low, float* high) {
    const double inset = kHalfTexel * std::max(0.0, 1.0 - length / pixels);
    *low = static_cast<float>((start + inset) / padded);
    *high = static_cast<float>((start + length - inset) / padded);
}

const ExactPicture* findExact(int width, int height) {
    for (const ExactPicture& picture : state.exact) {
        if (picture.width == width && picture.height == height) {
            return &picture;
        }
    }
    return nullptr;
}

void drawCover(int drawableWidth, int drawableHeight) {
    const ImageRecord& r = state.coverRecord;
    if (state.cover == 0 || r.width <= 0 || r.height <= 0) {
        return;
    }
    const CoverRect shown = coverRect(r.width, r.height, drawableWidth, drawableHeight);
    float texCoords[4];
    insetSide(shown.x, shown.width, drawableWidth, r.paddedWidth, &texCoords[0], &texCoords[2]);
    insetSide(shown.y, shown.height, drawableHeight, r.paddedHeight, &texCoords[1], &texCoords[3]);
    rendererDrawCover(state.cover, texCoords);
}

} // namespace

void backgroundSetMode(BackgroundMode mode) {
    state.mode = mode;
    changes++;
}

BackgroundMode backgroundGetMode() {
    return state.mode;
}

void backgroundKeepPicture(const ImageRecord* record, const uint8_t* pixels) {
    const BackgroundMode mode = state.mode;
    state = BackgroundState();
    state.mode = mode;
    changes++;
    if (state.mode == BackgroundMode::Fill && pixels != nullptr) {
        state.cover = rendererCreateCover(record, pixels);
        state.coverRecord = *record;
    }
}

void backgroundSetExact(const uint8_t* rgb, int width, int height) {
    for (const ExactPicture& picture : state.exact) {
        rendererDeleteBackground(picture.texture);
    }
    state.exact.clear();
    changes++;
    backgroundAddExact(rgb, width, height);
}

void backgroundAddExact(const uint8_t* rgb, int width, int height) {
    if (rgb == nullptr || width < 1 || height < 1) {
        return;
    }
    backgroundDropExact(width, height);
    const ImageRecord record{width, height, width, height};
    const uint32_t texture = rendererCreateBackground(&record, rgb);
    if (texture != 0) {
        state.exact.push_back({texture, width, height});
        changes++;
    }
}

void backgroundDropExact(int width, int height) {
    const ExactPicture* picture = findExact(width, height);
    if (picture == nullptr) {
        return;
    }
    rendererDeleteBackground(picture->texture);
    state.exact.erase(state.exact.begin() + (picture - state.exact.data()));
    changes++;
}

uint32_t backgroundChanges() {
    return changes;
}

bool backgroundCoversDrawable(int drawableWidth, int drawableHeight) {
    if (state.mode != BackgroundMode::Fill || drawableWidth < 1 || drawableHeight < 1) {
        return false;
    }
    return findExact(drawableWidth, drawableHeight) != nullptr ||
           (state.cover != 0 && state.coverRecord.width > 0 && state.coverRecord.height > 0);
}

void backgroundDrawFill(int drawableWidth, int drawableHeight) {
    if (state.mode != BackgroundMode::Fill || drawableWidth < 1 || drawableHeight < 1) {
        return;
    }
    if (const ExactPicture* picture = findExact(drawableWidth, drawableHeight)) {
        rendererDrawBackgroundAtOrigin(picture->texture);
        return;
    }
    drawCover(drawableWidth, drawableHeight);
}
