// The painting thread, its one-slot mailbox, and the digest check that decides whether to start.
#include "app/background_painter.h"

#include <condition_variable>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "app/paint_cache.h"
#include "common/sha256.h"
#include "pictures/background.h"
#include "render/background.h"
#include "render/frame.h"
#include "render/picture_folder.h"

namespace {

constexpr size_t kReadChunk = 1 << 16;
constexpr size_t kBytesPerPixel = 3;

struct PaintedPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb; // bottom row first
};

// Shared between the main thread and the painting thread; never destroyed, so an exit while a
// picture is being painted has nothing to wait for.
struct BackgroundPainter {
    std::mutex lock;
    std::condition_variable wake;
    int wantedWidth = 0; // the drawable's latest size, 0 when nothing is to be painted
    int wantedHeight = 0;
    unsigned request = 0;    // counts changes of mind: a paint for an older request is dropped
    PaintedPicture finished; // width 0 when nothing waits to be shown
    std::filesystem::path cacheFolder;
    // Main thread only.
    bool threadStarted = false;
    bool firstFrameShown = false;
    int shownWidth = 0;
    int shownHeight = 0;
};

BackgroundPainter* gPainter = nullptr;

PaintedPicture flipToBottomUp(const Image& image) {
    PaintedPicture picture;
    picture.width = image.width;
    picture.height = image.height;
    picture.rgb.reserve(image.pixels.size() * kBytesPerPixel);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb8 p = readPixel(image, x, y);
            picture.rgb.insert(picture.rgb.end(), {p.r, p.g, p.b});
        }
    }
    return picture;
}

// Paints whatever size is wanted last, for as long as the program runs.
void runPainter(BackgroundPainter* painter) {
    unsigned handled = 0;
    for (;;) {
        int width = 0;
        int height = 0;
        {
            std::unique_lock<std::mutex> hold(painter->lock);
            painter->wake.wait(
                hold, [&] { return painter->wantedWidth > 0 && painter->request != handled; });
            width = painter->wantedWidth;
            height = painter->wantedHeight;
            handled = painter->request;
        }
        const Image image = paintBackgroundAt(width, height, countPaintThreads());
        writePaintCache(painter->cacheFolder, image);
        PaintedPicture picture = flipToBottomUp(image);
        const std::lock_guard<std::mutex> hold(painter->lock);
        if (painter->request == handled) {
            painter->finished = std::move(picture);
        }
    }
}

void showPicture(BackgroundPainter* painter, const PaintedPicture& picture) {
    backgroundSetExact(picture.rgb.data(), picture.width, picture.height);
    painter->shownWidth = picture.width;
    painter->shownHeight = picture.height;
}

} // namespace

bool isOwnBackground(const char* path) {
    if (kOwnBackgroundDigest[0] == '\0') {
        return false;
    }
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    Sha256 sha;
    sha256Init(&sha);
    std::vector<uint8_t> chunk(kReadChunk);
    size_t got = 0;
    while ((got = std::fread(chunk.data(), 1, chunk.size(), file)) > 0) {
        sha256Update(&sha, chunk.data(), got);
    }
    std::fclose(file);
    char hex[kSha256HexSize];
    sha256FinishHex(&sha, hex);
    return std::strcmp(hex, kOwnBackgroundDigest) == 0;
}

bool wantsPaintedBackground(const DemoOptions& options) {
    return effectiveBackground(options) == BackgroundMode::Fill;
}

void startBackgroundPainter(const DemoOptions& options, int width, int height) {
    if (gPainter != nullptr || !wantsPaintedBackground(options) ||
        !isOwnBackground(picturePath(kBackgroundFile).c_str())) {
        return;
    }
    gPainter = new BackgroundPainter;
    gPainter->cacheFolder = findPaintCacheFolder();
    resizeBackgroundPainter(width, height);
}

void resizeBackgroundPainter(int width, int height) {
    BackgroundPainter* painter = gPainter;
    if (painter == nullptr || width <= 0 || height <= 0) {
        return;
    }
    // Back to the size on show: nothing to read, and a paint still running is stale.
    const bool shown = width == painter->shownWidth && height == painter->shownHeight;
    PaintedPicture cached;
    const bool hit = shown || readPaintCache(painter->cacheFolder, width, height, &cached.rgb);
    if (hit && !shown) {
        cached.width = width;
        cached.height = height;
        showPicture(painter, cached);
    }
    const std::lock_guard<std::mutex> hold(painter->lock);
    if (!hit && width == painter->wantedWidth && height == painter->wantedHeight) {
        return; // the same size again: the paint under way is still the one wanted
    }
    painter->finished = PaintedPicture();
    // A size on show or cached needs no painting.
    painter->wantedWidth = hit ? 0 : width;
    painter->wantedHeight = hit ? 0 : height;
    ++painter->request;
    painter->wake.notify_one();
}

void showPaintedBackground() {
    BackgroundPainter* painter = gPainter;
    if (painter == nullptr) {
        return;
    }
    // The thread starts once the first frame is out, so it never competes with that frame.
    if (!painter->threadStarted && painter->firstFrameShown) {
        painter->threadStarted = true;
        std::thread(runPainter, painter).detach();
    }
    painter->firstFrameShown = true;
    PaintedPicture picture;
    {
        const std::lock_guard<std::mutex> hold(painter->lock);
        if (painter->finished.width == 0) {
            return;
        }
        picture = std::move(painter->finished);
        painter->finished = PaintedPicture();
    }
    showPicture(painter, picture);
}
