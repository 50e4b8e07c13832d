// The page side of the painter workers: starting them, writing what they post into the page's
// file system, and the queue of landed pictures the frames pick up.
#include "app/web/web_painting.h"

#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "pictures/background.h"
#include "pictures/bmp.h"
#include "pictures/colour.h"
#include "pictures/image.h"

namespace {

constexpr const char* kPainterScript = "painter.js";
// Catalogue index where the sphere pictures begin: the background alone comes before.
constexpr int kFirstSpherePicture = 1;
// A dusky navy: dark like the painted night, so the swap to it does not flash.
constexpr Colour kStandInColour = decodeHexColour(0x171438);

// clang-format off
EM_JS(void, jsStartPainters, (const char* folderText, const char* script, int split), {
    var folder = UTF8ToString(folderText);
    var url = UTF8ToString(script);
    var stats = window.velmorin;
    var landed = stats.landed;
    var running = 0;
    [url + "?to=" + split, url + "?from=" + split].forEach(function (address) {
        var worker = new Worker(address);
        running += 1;
        // A painter that fails counts as finished: its pictures are then missing, as files
        // can be, and reading them says so.
        function finish() {
            worker.terminate();
            running -= 1;
            if (running === 0) {
                stats.picturesMs = performance.now();
            }
        }
        worker.onmessage = function (event) {
            if (event.data.finished) {
                finish();
                return;
            }
            FS.writeFile(folder + "/" + event.data.name, event.data.bytes);
            landed.push(event.data.name);
        };
        worker.onerror = function (event) {
            console.error("painter: " + event.message);
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
// clang-format on

} // namespace

void webPaintingStart(const char* folder) {
    jsStartPainters(folder, kPainterScript, kFirstSpherePicture);
}

bool webPaintingTakeLanded(char* out, size_t size) {
    return jsTakeLanded(out, static_cast<int>(size)) != 0;
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
