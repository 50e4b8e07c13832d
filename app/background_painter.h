// The demo's own background painted afresh at the drawable's size, on a thread of its own, so
// it stays sharp in a window of any size; until it is ready the scaled picture shows.
#pragma once

#include <vector>

#include "app/options.h"

// One drawable's size in pixels.
struct PaintSize {
    int width = 0;
    int height = 0;
    bool operator==(const PaintSize&) const = default;
};

// The SHA-256 of the background.bmp the build painted, recorded when the demo was built; empty
// when the build had none to look at.
extern const char* const kOwnBackgroundDigest;

// True when the file's bytes are the build's own painted background.
bool isOwnBackground(const char* path);
// Only where the background fills the window; the fixed placement shows the picture as it is
// and never paints.
bool wantsPaintedBackground(const DemoOptions& options);

// Main thread, once the background is loaded and the drawable's size is known: when the
// options want it and the background in use is the demo's own, shows the cached picture of that
// size at once, or has one painted. Otherwise nothing, now and in the two calls below.
void startBackgroundPainter(const DemoOptions& options, int width, int height);
// Main thread, on every resize: only the latest size is painted.
void resizeBackgroundPainter(int width, int height);
// Main thread, whenever the set of drawable sizes changes (outputs of several sizes): each size
// gets its own picture, from the cache at once or painted in the order given, and the picture
// of a size no longer named is released.
void setBackgroundPainterSizes(const std::vector<PaintSize>& sizes);
// Main thread, between frames: hands the finished pictures of wanted sizes to the drawing.
void showPaintedBackground();
