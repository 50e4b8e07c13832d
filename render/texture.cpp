// loadTexture and loadBackground: a BMP read from disk and handed to the renderer, or reported.
#include "render/texture.h"

#include <cstdlib>

#include "render/background.h"
#include "render/renderer.h"

uint32_t loadTexture(const char* fileName, ImageRecord* record) {
    uint8_t* headerBlock = nullptr;
    uint8_t* pixels = readBmp(fileName, &headerBlock, record);
    if (pixels == nullptr) {
        return 0;
    }
    const uint32_t name = rendererCreateTexture(record, pixels);
    std::free(pixels);
    std::free(headerBlock);
    return name;
}

uint32_t loadBackground(const char* fileName) {
    uint8_t* headerBlock = nullptr;
    ImageRecord record{};
    uint8_t* pixels = readBmp(fileName, &headerBlock, &record);
    const uint32_t background = rendererCreateBackground(&record, pixels);
    backgroundKeepPicture(&record, pixels);
    std::free(pixels);
    if (pixels != nullptr) {
        std::free(headerBlock);
    }
    return background;
}
