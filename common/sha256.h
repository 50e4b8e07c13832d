// SHA-256 (FIPS 180-4) for the checking tools and the shells, finished into a hex digest.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kSha256BlockSize = 64;
constexpr size_t kSha256DigestSize = 32;
// Two hex digits per digest byte plus the terminating zero.
constexpr size_t kSha256HexSize = 2 * kSha256DigestSize + 1;

// A running hash; start it with sha256Init.
struct Sha256 {
    uint32_t state[8];
    uint64_t messageBytes;           // total fed so far
    uint8_t block[kSha256BlockSize]; // bytes waiting for a full block
    size_t blockBytes;
};

void sha256Init(Sha256* sha);
void sha256Update(Sha256* sha, const void* data, size_t size);
// Pads, writes the lowercase hex digest and its terminating zero. The hash is spent afterwards.
void sha256FinishHex(Sha256* sha, char hex[kSha256HexSize]);
