// SHA-256 compression and padding, written from FIPS 180-4 sections 4.1.2, 5.1.1 and 6.2.
#include "common/sha256.h"

#include <cstring>

namespace {

// First 32 bits of the fractional parts of the cube roots of the first 64 primes.
constexpr uint32_t kRoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

// First 32 bits of the fractional parts of the square roots of the first 8 primes.
constexpr uint32_t kInitialState[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                       0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

constexpr size_t kScheduleWords = 64;
constexpr size_t kBlockWords = 16;
// The message length in bits closes the last block as a 64-bit big-endian number.
constexpr size_t kLengthFieldSize = 8;
constexpr uint8_t kPaddingStart = 0x80;
constexpr int kBitsPerByte = 8;

uint32_t rotateRight(uint32_t x, int n) {
    return x >> n | x << (32 - n);
}

uint32_t loadBe32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
           static_cast<uint32_t>(bytes[2]) << 8 | static_cast<uint32_t>(bytes[3]);
}

void compressSha256Block(Sha256* sha, const uint8_t* block) {
    uint32_t w[kScheduleWords];
    for (size_t t = 0; t < kBlockWords; ++t) {
        w[t] = loadBe32(block + 4 * t);
    }
    for (size_t t = kBlockWords; t < kScheduleWords; ++t) {
        const uint32_t s0 = rotateRight(w[t - 15], 7) ^ rotateRight(w[t - 15], 18) ^ w[t - 15] >> 3;
        const uint32_t s1 = rotateRight(w[t - 2], 17) ^ rotateRight(w[t - 2], 19) ^ w[t - 2] >> 10;
        w[t] = w[t - 16] + s0 + w[t - 7] + s1;
    }
    uint32_t a = sha->state[0], b = sha->state[1], c = sha->state[2], d = sha->state[3];
    uint32_t e = sha->state[4], f = sha->state[5], g = sha->state[6], h = sha->state[7];
    for (size_t t = 0; t < kScheduleWords; ++t) {
        const uint32_t bigSigma1 = rotateRight(e, 6) ^ rotateRight(e, 11) ^ rotateRight(e, 25);
        const uint32_t choose = (e & f) ^ (~e & g);
        const uint32_t t1 = h + bigSigma1 + choose + kRoundConstants[t] + w[t];
        const uint32_t bigSigma0 = rotateRight(a, 2) ^ rotateRight(a, 13) ^ rotateRight(a, 22);
        const uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
        const uint32_t t2 = bigSigma0 + majority;
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    sha->state[0] += a;
    sha->state[1] += b;
    sha->state[2] += c;
    sha->state[3] += d;
    sha->state[4] += e;
    sha->state[5] += f;
    sha->state[6] += g;
    sha->state[7] += h;
}

} // namespace

void sha256Init(Sha256* sha) {
    std::memcpy(sha->state, kInitialState, sizeof kInitialState);
    sha->messageBytes = 0;
    sha->blockBytes = 0;
}

void sha256Update(Sha256* sha, const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    sha->messageBytes += size;
    while (size > 0) {
        const size_t room = kSha256BlockSize - sha->blockBytes;
        const size_t take = size < room ? size : room;
        std::memcpy(sha->block + sha->blockBytes, bytes, take);
        sha->blockBytes += take;
        bytes += take;
        size -= take;
        if (sha->blockBytes == kSha256BlockSize) {
            compressSha256Block(sha, sha->block);
            sha->blockBytes = 0;
        }
    }
}

void sha256FinishHex(Sha256* sha, char hex[kSha256HexSize]) {
    const uint64_t messageBits = sha->messageBytes * kBitsPerByte;
    sha->block[sha->blockBytes++] = kPaddingStart;
    if (sha->blockBytes > kSha256BlockSize - kLengthFieldSize) {
        std::memset(sha->block + sha->blockBytes, 0, kSha256BlockSize - sha->blockBytes);
        compressSha256Block(sha, sha->block);
        sha->blockBytes = 0;
    }
    std::memset(sha->block + sha->blockBytes, 0, kSha256BlockSize - sha->blockBytes);
    for (size_t i = 0; i < kLengthFieldSize; ++i) {
        sha->block[kSha256BlockSize - 1 - i] = static_cast<uint8_t>(messageBits >> (8 * i));
    }
    compressSha256Block(sha, sha->block);

    constexpr char kDigits[] = "0123456789abcdef";
    for (size_t i = 0; i < kSha256DigestSize; ++i) {
        const uint32_t word = sha->state[i / 4];
        const auto byte = static_cast<uint8_t>(word >> (24 - 8 * (i % 4)));
        hex[2 * i] = kDigits[byte >> 4];
        hex[2 * i + 1] = kDigits[byte & 0xf];
    }
    hex[2 * kSha256DigestSize] = '\0';
}
