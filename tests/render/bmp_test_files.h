// Test helpers for the BMP reader: synthetic files, captured reports and a checked read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "render/bmp.h"

constexpr size_t kBmpFileHeaderSize = 14;
constexpr size_t kBmpInfoHeaderSize = 40;
constexpr uint32_t kBmpPlainOffBits = kBmpFileHeaderSize + kBmpInfoHeaderSize;
// Fills the header block after the info header, so tests can tell it from other bytes.
constexpr uint8_t kBmpHeaderFiller = 0xc7;

// A synthetic BMP file; the defaults describe a valid 24-bit 1 by 1 picture with a plain
// 40-byte info header. The header block is offBits - 14 bytes: the info header cut short or
// followed by filler bytes, as offBits asks.
struct BmpFileLayout {
    uint32_t offBits = kBmpPlainOffBits;
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    std::vector<uint8_t> pixelData; // written as is after the header block
};

// A valid picture of that size whose pixel data is countingBytes(height * bmpRowSize(width)).
BmpFileLayout plainBmpLayout(int32_t width, int32_t height);
// The described file as bytes.
std::vector<uint8_t> buildBmpBytes(const BmpFileLayout& layout);
// The 40 info-header bytes buildBmpBytes writes for the layout, before any cut or filler.
std::vector<uint8_t> buildBmpInfoHeader(const BmpFileLayout& layout);
// count bytes holding 0, 1, 2, ... (mod 256), so each byte tells where it came from.
std::vector<uint8_t> countingBytes(size_t count);
// The stored row size of a 24-bit picture: width * 3 rounded up to whole 4-byte words.
size_t bmpRowSize(int32_t width);

// Everything a readBmp call left behind, with the buffers already copied and released.
struct BmpOutcome {
    bool read = false;                // a pixel buffer came back
    ImageRecord record{};             // holds kUnwrittenRecord unless the reader wrote it
    std::vector<uint8_t> pixels;      // paddedWidth * paddedHeight * 3 bytes when read
    std::vector<uint8_t> headerBlock; // the expected header block size when read
    std::vector<std::string> reports; // every text passed to reportError
    int descriptorsLeftOpen = 0;      // open descriptors after the call minus before
};

constexpr ImageRecord kUnwrittenRecord{-7, -7, -7, -7};

// Calls readBmp on the file with a capturing error sink and a sentinel record. On success it
// copies headerBlockSize bytes of the header block (a shorter block trips AddressSanitizer).
BmpOutcome readBmpOutcome(const std::string& path, size_t headerBlockSize);
// Writes the bytes to a fresh temporary file, reads it as above and removes the file.
BmpOutcome readBmpBytes(const std::vector<uint8_t>& bytes, size_t headerBlockSize);
// Reads the file built from the description, expecting a header block of offBits - 14 bytes.
BmpOutcome readBmpLayout(const BmpFileLayout& layout);
// A path in the temporary directory that names no file.
std::string missingBmpPath();

// Checks a refusal: no pixels, exactly one report with that text, no descriptor left open.
void expectBmpRefused(const BmpOutcome& outcome, const std::string& text);
void expectRecordEq(const ImageRecord& actual, const ImageRecord& expected);
