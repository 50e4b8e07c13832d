// Strict parsing of the numbers the command-line tools take.
#pragma once

#include <cstdint>

// Plain decimal digits only (no sign, space or empty text), at most limit.
bool parseUnsignedArg(const char* text, unsigned long long limit, unsigned long long* out);
// Hex digits only (no "0x", sign or space), at most limit.
bool parseHexArg(const char* text, unsigned long long limit, unsigned long long* out);
// Plain decimal digits as for parseUnsignedArg, from low to high.
bool parseUint32Arg(const char* text, uint32_t low, uint32_t high, uint32_t* out);
// "WIDTHxHEIGHT", each side plain decimal digits from 1 to maxSide.
bool parseSizeArg(const char* text, uint32_t maxSide, int* width, int* height);
// A seed: plain decimal digits, 0 to 4294967295.
bool parseSeedArg(const char* text, uint32_t* out);
// A whole-text number that is finite.
bool parseFiniteArg(const char* text, double* out);
// Plain decimal digits with at most one point, which may be written ',' as settings dialogs do in
// many locales: no sign, exponent, space or empty text.
bool parseDecimalArg(const char* text, double* out);
