// The page's picture painter, run as a Web Worker beside the page: paints the catalogue's pictures
// from ?from=A (default 0) to ?to=B (default the end) and posts each one back as a BMP file the
// moment it is done, then posts that it has finished. The page never waits on a painting.
#include <emscripten/emscripten.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "pictures/bmp.h"
#include "pictures/catalogue.h"

namespace {

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
// clang-format on

} // namespace

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
    jsPostFinished();
    return 0;
}
