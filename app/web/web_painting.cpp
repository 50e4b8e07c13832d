// The page side of the painter workers: starting them, writing what they post into the page's
// file system, the queue of landed pictures the frames pick up, and the background painted at
// the canvas's size.
#include "app/web/web_painting.h"

#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "pictures/background.h"
#include "pictures/bmp.h"
#include "pictures/colour.h"
#include "pictures/image.h"
#include "render/background.h"
#include "render/frame.h"
#include "render/picture_folder.h"

namespace {

constexpr const char* kPainterScript = "painter.js";
// Catalogue index where the sphere pictures begin: the background alone comes before.
constexpr int kFirstSpherePicture = 1;
// A dusky navy: dark like the painted night, so the swap to it does not flash.
constexpr Colour kStandInColour = decodeHexColour(0x171438);

// The canvas-sized background: asked for once the standard one is on, since putting that on
// drops any picture of the canvas's size.
struct FittedBackground {
    bool standardOn = false;
    int askedWidth = 0;
    int askedHeight = 0;
};

FittedBackground fitted;

// clang-format off
EM_JS(void, jsStartPainters, (const char* folderText, const char* script, int split), {
    var folder = UTF8ToString(folderText);
    var url = UTF8ToString(script);
    var stats = window.velmorin;
    var landed = stats.landed;
    var running = 0;
    [url + "?to=" + split, url + "?from=" + split].forEach(function (address, index) {
        var worker = new Worker(address);
        // The background's painter stays on to paint the background at the canvas's size.
        if (index === 0) {
            Module.backgroundPainter = worker;
        }
        running += 1;
        var counted = false;
        // A painter that fails counts as finished: its pictures are then missing, as files
        // can be, and reading them says so.
        function finish() {
            if (!counted) {
                counted = true;
                running -= 1;
                if (running === 0) {
                    stats.picturesMs = performance.now();
                }
            }
        }
        worker.onmessage = function (event) {
            if (event.data.rgb) {
                Module.fittedBackground = event.data;
                return;
            }
            if (event.data.finished) {
                if (index !== 0) {
                    worker.terminate();
                }
                finish();
                return;
            }
            FS.writeFile(folder + "/" + event.data.name, event.data.bytes);
            landed.push(event.data.name);
        };
        worker.onerror = function (event) {
            console.error("painter: " + event.message);
            worker.terminate();
            finish();
        };
    });
});

EM_JS(int, jsTakeLanded, (char* out, int size), {
    var name = window.velmorin.landed.shift();
    if (name === undefined) {
        return 0;
    }
    stringToUTF8(name, out, size);
    return 1;
});

EM_JS(int, jsPaintingFinished, (), {
    return window.velmorin.picturesMs > 0 ? 1 : 0;
});

EM_JS(void, jsAskBackground, (int width, int height), {
    if (Module.backgroundPainter) {
        Module.backgroundPainter.postMessage({width: width, height: height});
    }
});

// The bytes of a painting of width x height that has come back, or 0; one of any other size
// is dropped.
EM_JS(int, jsFittedBackgroundBytes, (int width, int height), {
    var painted = Module.fittedBackground;
    if (!painted) {
        return 0;
    }
    if (painted.width !== width || painted.height !== height) {
        Module.fittedBackground = null;
        return 0;
    }
    return painted.rgb.length;
});

// Copies the painting that has come back into out and says its size to whoever watches the page.
// It is kept, to be uploaded again should the context be lost.
EM_JS(void, jsTakeFittedBackground, (uint8_t* out), {
    var painted = Module.fittedBackground;
    Module.fittedBackground = null;
    Module.shownBackground = painted;
    HEAPU8.set(painted.rgb, out);
    window.velmorin.fittedBackground = painted.width + "x" + painted.height;
});

// The painting last shown comes back as if just painted, unless a newer one is waiting; none is
// shown in the new context yet.
EM_JS(void, jsOfferShownBackground, (), {
    Module.fittedBackground = Module.fittedBackground || Module.shownBackground || null;
    window.velmorin.fittedBackground = "";
});
// clang-format on

} // namespace

void webPaintingStart(const char* folder) {
    jsStartPainters(folder, kPainterScript, kFirstSpherePicture);
}

bool webPaintingTakeLanded(char* out, size_t size) {
    if (jsTakeLanded(out, static_cast<int>(size)) == 0) {
        return false;
    }
    if (picturePath(out) == picturePath(kBackgroundFile)) {
        fitted.standardOn = true;
    }
    return true;
}

bool webPaintingFinished() {
    return jsPaintingFinished() != 0;
}

void webPaintingWriteStandIn(const char* path) {
    Image standIn = makeImage(kBackgroundWidth, kBackgroundHeight);
    for (Rgb8& pixel : standIn.pixels) {
        pixel = quantiseColour(kStandInColour);
    }
    const std::vector<uint8_t> file = encodeBmp(standIn);
    std::FILE* out = std::fopen(path, "wb");
    if (out != nullptr) {
        std::fwrite(file.data(), 1, file.size(), out);
        std::fclose(out);
    }
}

void webPaintingFitBackground(int width, int height) {
    if (!fitted.standardOn) {
        return;
    }
    if (width != fitted.askedWidth || height != fitted.askedHeight) {
        fitted.askedWidth = width;
        fitted.askedHeight = height;
        jsAskBackground(width, height);
    }
    const int bytes = jsFittedBackgroundBytes(width, height);
    if (bytes == 0) {
        return;
    }
    std::vector<uint8_t> rgb(static_cast<size_t>(bytes));
    jsTakeFittedBackground(rgb.data());
    backgroundSetExact(rgb.data(), width, height);
}

void webPaintingOfferAgain() {
    jsOfferShownBackground();
}
