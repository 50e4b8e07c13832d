// The painting thread, its one-slot mailbox, and the digest check that decides whether to start.
#include "app/background_painter.h"

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>
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
    // Wanted sizes with no picture yet, painted first to last; a paint whose size has left the
    // list meanwhile is dropped.
    std::vector<PaintSize> unpainted;
    std::vector<PaintedPicture> finished; // painted, of sizes still wanted, not yet shown
    std::filesystem::path cacheFolder;
    // Main thread only.
    bool threadStarted = false;
    bool firstFrameShown = false;
    std::vector<PaintSize> shown; // the sizes whose picture the background holds
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

bool holdsSize(const std::vector<PaintSize>& sizes, PaintSize size) {
    return std::find(sizes.begin(), sizes.end(), size) != sizes.end();
}

// Paints every size wanted and not yet painted, for as long as the program runs.
void runPainter(BackgroundPainter* painter) {
    for (;;) {
        PaintSize size;
        {
            std::unique_lock<std::mutex> hold(painter->lock);
            painter->wake.wait(hold, [&] { return !painter->unpainted.empty(); });
            size = painter->unpainted.front();
        }
        const Image image = paintBackgroundAt(size.width, size.height, countPaintThreads());
        writePaintCache(painter->cacheFolder, image);
        PaintedPicture picture = flipToBottomUp(image);
        const std::lock_guard<std::mutex> hold(painter->lock);
        const auto wanted = std::find(painter->unpainted.begin(), painter->unpainted.end(), size);
        if (wanted != painter->unpainted.end()) {
            painter->unpainted.erase(wanted);
            painter->finished.push_back(std::move(picture));
        }
    }
}

void showPicture(BackgroundPainter* painter, const PaintedPicture& picture) {
    backgroundAddExact(picture.rgb.data(), picture.width, picture.height);
    const PaintSize size{picture.width, picture.height};
    if (!holdsSize(painter->shown, size)) {
        painter->shown.push_back(size);
    }
}

// The pictures on show of sizes no longer wanted go, and their memory with them.
void releaseUnwanted(BackgroundPainter* painter, const std::vector<PaintSize>& sizes) {
    for (auto kept = painter->shown.begin(); kept != painter->shown.end();) {
        const bool wanted = holdsSize(sizes, *kept);
        if (!wanted) {
            backgroundDropExact(kept->width, kept->height);
        }
        kept = wanted ? std::next(kept) : painter->shown.erase(kept);
    }
}

// Tells the thread what to paint. Finished pictures of sizes no longer wanted, or since read
// from the cache, are stale; the others need no painting again. A paint under way for a size
// still unpainted goes on.
void handOverUnpainted(BackgroundPainter* painter, const std::vector<PaintSize>& sizes,
                       const std::vector<PaintSize>& unpainted) {
    const std::lock_guard<std::mutex> hold(painter->lock);
    std::vector<PaintedPicture>& finished = painter->finished;
    const auto sizeOf = [](const PaintedPicture& picture) {
        return PaintSize{picture.width, picture.height};
    };
    finished.erase(std::remove_if(finished.begin(), finished.end(),
                                  [&](const PaintedPicture& picture) {
                                      return !holdsSize(sizes, sizeOf(picture)) ||
                                             holdsSize(painter->shown, sizeOf(picture));
                                  }),
                   finished.end());
    painter->unpainted.clear();
    for (const PaintSize size : unpainted) {
        const bool painted =
            std::any_of(finished.begin(), finished.end(),
                        [&](const PaintedPicture& picture) { return sizeOf(picture) == size; });
        if (!painted) {
            painter->unpainted.push_back(size);
        }
    }
    painter->wake.notify_one();
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
    if (width > 0 && height > 0) {
        setBackgroundPainterSizes({{width, height}});
    }
}

void setBackgroundPainterSizes(const std::vector<PaintSize>& sizes) {
    BackgroundPainter* painter = gPainter;
    if (painter == nullptr) {
        return;
    }
    releaseUnwanted(painter, sizes);
    std::vector<PaintSize> unpainted;
    for (const PaintSize size : sizes) {
        if (size.width <= 0 || size.height <= 0 || holdsSize(painter->shown, size) ||
            holdsSize(unpainted, size)) {
            continue;
        }
        PaintedPicture cached{size.width, size.height, {}};
        if (readPaintCache(painter->cacheFolder, size.width, size.height, &cached.rgb)) {
            showPicture(painter, cached);
        } else {
            unpainted.push_back(size);
        }
    }
    handOverUnpainted(painter, sizes, unpainted);
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
    std::vector<PaintedPicture> pictures;
    {
        const std::lock_guard<std::mutex> hold(painter->lock);
        pictures.swap(painter->finished);
    }
    for (const PaintedPicture& picture : pictures) {
        showPicture(painter, picture);
    }
}
