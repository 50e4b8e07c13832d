// BMP reader: 24-bit uncompressed bottom-up pictures into power-of-two RGB buffers for GL.
#pragma once

#include <cstdint>

// Sizes of a picture read by readBmp, in pixels.
struct ImageRecord {
    int32_t width;        // biWidth as stored
    int32_t height;       // biHeight as stored
    int32_t paddedWidth;  // smallest power of two not below width, at least 1
    int32_t paddedHeight; // smallest power of two not below height, at least 1
};

// Reads a 24-bit uncompressed bottom-up BMP file. Returns paddedWidth * paddedHeight RGB
// pixels, rows bottom first, with the picture in the lower-left corner and zero elsewhere, and
// stores in *headerBlock the bfOffBits - 14 bytes that follow the 14-byte file header. Both
// come from malloc and belong to the caller, who releases them with free.
// On failure: exactly one reportError call, a null result and nothing to release; *headerBlock
// is then meaningless. *record is filled as soon as the header block has been read and checked,
// so it may be filled even when the pixel data later turns out short or unusable.
uint8_t* readBmp(const char* fileName, uint8_t** headerBlock, ImageRecord* record);
