// The page's picture painter, run as a Web Worker beside the page: paints the catalogue's pictures
// from ?from=A (default 0) to ?to=B (default the end) and posts each one back as a BMP file the
// moment it is done, then posts that it has finished. Afterwards it paints the background at any
// size the page sends it. The page never waits on a painting.
#include <emscripten/emscripten.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "pictures/background.h"
#include "pictures/bmp.h"
#include "pictures/catalogue.h"

namespace {

constexpr size_t kBytesPerPixel = 3;

// clang-format off
EM_JS(int, jsRangeParam, (const char* name, int fallback), {
    var value = new URLSearchParams(self.location.search).get(UTF8ToString(name));
    return value === null ? fallback : parseInt(value, 10);
});

EM_JS(void, jsPostPicture, (const char* name, const uint8_t* bytes, int size), {
    var copy = HEAPU8.slice(bytes, bytes + size);
    postMessage({name: UTF8ToString(name), bytes: copy}, [copy.buffer]);
});

EM_JS(void, jsPostFinished, (), {
    postMessage({finished: true});
});

// Sizes that come in while a painting is under way replace one another: only the last is
// painted next.
EM_JS(void, jsListenForSizes, (), {
    var wanted = null;
    function paintWanted() {
        var size = wanted;
        wanted = null;
        _webPainterPaintBackgroundAt(size.width, size.height);
    }
    self.onmessage = function (event) {
        if (wanted === null) {
            setTimeout(paintWanted, 0);
        }
        wanted = event.data;
    };
});

EM_JS(void, jsPostBackground, (int width, int height, const uint8_t* rgb, int size), {
    var copy = HEAPU8.slice(rgb, rgb + size);
    postMessage({width: width, height: height, rgb: copy}, [copy.buffer]);
});
// clang-format on

} // namespace

// The background at width x height, posted back as RGB rows, bottom row first, as GL takes them.
extern "C" EMSCRIPTEN_KEEPALIVE void webPainterPaintBackgroundAt(int width, int height) {
    if (width < 1 || height < 1) {
        return;
    }
    const Image image = paintBackgroundAt(width, height, countPaintThreads());
    std::vector<uint8_t> rgb;
    rgb.reserve(image.pixels.size() * kBytesPerPixel);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb8 p = readPixel(image, x, y);
            rgb.insert(rgb.end(), {p.r, p.g, p.b});
        }
    }
    jsPostBackground(width, height, rgb.data(), static_cast<int>(rgb.size()));
}

int main() {
    const std::span<const PictureRecipe> pictures = listPictures();
    const int count = static_cast<int>(pictures.size());
    const int from = jsRangeParam("from", 0);
    const int to = jsRangeParam("to", count);
    for (int i = from < 0 ? 0 : from; i < to && i < count; i++) {
        const std::vector<uint8_t> file = encodeBmp(pictures[static_cast<size_t>(i)].paint());
        jsPostPicture(pictures[static_cast<size_t>(i)].fileName, file.data(),
                      static_cast<int>(file.size()));
    }
    jsListenForSizes();
    jsPostFinished();
    return 0;
}
