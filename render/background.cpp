// The background's mode, its scaled and exact-size pictures, and the covering draw.
#include "render/background.h"

#include <algorithm>

#include "render/cover_rect.h"
#include "render/renderer.h"

namespace {

// Linear filtering blends each sample with its neighbours. Enlarged, the outermost pixels'
// samples fall within half a texel of the picture's edge, where the neighbour would be the
// padding beyond it: moving the ends in by half a texel less half a pixel keeps them inside,
// and at one texel a pixel each sample stays on a texel's centre.
constexpr double kHalfTexel = 0.5;

struct BackgroundState {
    BackgroundMode mode = BackgroundMode::Fixed;
    uint32_t cover = 0; // the scaled picture, 0 when not filling or not read
    ImageRecord coverRecord{};
    uint32_t exact = 0; // the painter's picture for a drawable of exactWidth by exactHeight
    int exactWidth = 0;
    int exactHeight = 0;
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
    state = BackgroundState{state.mode};
    changes++;
    if (state.mode == BackgroundMode::Fill && pixels != nullptr) {
        state.cover = rendererCreateCover(record, pixels);
        state.coverRecord = *record;
    }
}

void backgroundSetExact(const uint8_t* rgb, int width, int height) {
    rendererDeleteBackground(state.exact);
    changes++;
    state.exact = 0;
    state.exactWidth = 0;
    state.exactHeight = 0;
    if (rgb == nullptr || width < 1 || height < 1) {
        return;
    }
    const ImageRecord record{width, height, width, height};
    state.exact = rendererCreateBackground(&record, rgb);
    state.exactWidth = width;
    state.exactHeight = height;
}

uint32_t backgroundChanges() {
    return changes;
}

bool backgroundCoversDrawable(int drawableWidth, int drawableHeight) {
    if (state.mode != BackgroundMode::Fill || drawableWidth < 1 || drawableHeight < 1) {
        return false;
    }
    const bool exact = state.exact != 0 && state.exactWidth == drawableWidth &&
                       state.exactHeight == drawableHeight;
    return exact ||
           (state.cover != 0 && state.coverRecord.width > 0 && state.coverRecord.height > 0);
}

void backgroundDrawFill(int drawableWidth, int drawableHeight) {
    if (state.mode != BackgroundMode::Fill || drawableWidth < 1 || drawableHeight < 1) {
        return;
    }
    if (state.exact != 0 && state.exactWidth == drawableWidth &&
        state.exactHeight == drawableHeight) {
        rendererDrawBackgroundAtOrigin(state.exact);
        return;
    }
    drawCover(drawableWidth, drawableHeight);
}
