// Strict, whole-text parsing of unsigned, hexadecimal, size, seed and finite decimal arguments.
#include "common/cli_args.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kDecimalBase = 10;
constexpr int kHexBase = 16;
// Longer than any decimal a person or a settings dialog writes; longer text is refused.
constexpr size_t kMaxDecimalLength = 32;

} // namespace

bool parseUnsignedArg(const char* text, unsigned long long limit, unsigned long long* out) {
    if (text == nullptr || *text < '0' || *text > '9') {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, kDecimalBase);
    if (errno != 0 || *end != '\0' || value > limit) {
        return false;
    }
    *out = value;
    return true;
}

bool parseHexArg(const char* text, unsigned long long limit, unsigned long long* out) {
    if (text == nullptr || *text == '\0') {
        return false;
    }
    // strtoull would take a second "0x" and a sign; only digits will do.
    for (const char* c = text; *c != '\0'; c++) {
        if (std::isxdigit(static_cast<unsigned char>(*c)) == 0) {
            return false;
        }
    }
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, kHexBase);
    if (errno != 0 || *end != '\0' || value > limit) {
        return false;
    }
    *out = value;
    return true;
}

bool parseUint32Arg(const char* text, uint32_t low, uint32_t high, uint32_t* out) {
    unsigned long long value = 0;
    if (!parseUnsignedArg(text, high, &value) || value < low) {
        return false;
    }
    *out = static_cast<uint32_t>(value);
    return true;
}

bool parseSizeArg(const char* text, uint32_t maxSide, int* width, int* height) {
    const char* cross = text == nullptr ? nullptr : std::strchr(text, 'x');
    if (cross == nullptr) {
        return false;
    }
    const std::string widthText(text, cross);
    uint32_t w = 0;
    uint32_t h = 0;
    if (!parseUint32Arg(widthText.c_str(), 1, maxSide, &w) ||
        !parseUint32Arg(cross + 1, 1, maxSide, &h)) {
        return false;
    }
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

bool parseSeedArg(const char* text, uint32_t* out) {
    return parseUint32Arg(text, 0, UINT32_MAX, out);
}

bool parseFiniteArg(const char* text, double* out) {
    if (text == nullptr || *text == '\0') {
        return false;
    }
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (*end != '\0' || !std::isfinite(value)) {
        return false;
    }
    *out = value;
    return true;
}

bool parseDecimalArg(const char* text, double* out) {
    if (text == nullptr) {
        return false;
    }
    char copy[kMaxDecimalLength + 1] = {};
    size_t length = 0;
    bool point = false;
    bool digit = false;
    for (const char* c = text; *c != '\0'; c++, length++) {
        if (length == kMaxDecimalLength) {
            return false;
        }
        if (*c == '.' || *c == ',') {
            if (point) {
                return false;
            }
            point = true;
            copy[length] = '.'; // the program never leaves the C locale, where the point is '.'
        } else if (*c >= '0' && *c <= '9') {
            digit = true;
            copy[length] = *c;
        } else {
            return false;
        }
    }
    if (!digit) {
        return false;
    }
    *out = std::strtod(copy, nullptr);
    return true;
}
