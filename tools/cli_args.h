// Strict parsing of the numbers the command-line tools take.
#pragma once

// Plain decimal digits only (no sign, space or empty text), at most limit.
bool parseUnsignedArg(const char* text, unsigned long long limit, unsigned long long* out);
// A whole-text number that is finite.
bool parseFiniteArg(const char* text, double* out);
