// SHA-256: the FIPS 180 example messages, and digests that do not depend on how input is split.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "common/sha256.h"

namespace {

constexpr const char* k448BitMessage = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
constexpr const char* k896BitMessage =
    "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopq"
    "rsmnopqrstnopqrstu";

// Digest of the text fed in pieces of at most chunk bytes.
std::string hashText(const std::string& text, size_t chunk) {
    Sha256 sha;
    sha256Init(&sha);
    for (size_t at = 0; at < text.size(); at += chunk) {
        sha256Update(&sha, text.data() + at, std::min(chunk, text.size() - at));
    }
    char hex[kSha256HexSize];
    sha256FinishHex(&sha, hex);
    EXPECT_EQ(std::strlen(hex), kSha256HexSize - 1);
    return hex;
}

std::string hashText(const std::string& text) {
    return hashText(text, text.size() + 1);
}

TEST(Sha256, DigestsEmptyMessage) {
    EXPECT_EQ(hashText(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}

TEST(Sha256, DigestsOneBlockMessageAbc) {
    EXPECT_EQ(hashText("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

// 56 bytes leave no room for the length field: padding spills into a second block.
TEST(Sha256, Digests448BitMessageWithExtraPaddingBlock) {
    EXPECT_EQ(hashText(k448BitMessage),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
}

TEST(Sha256, Digests896BitMessage) {
    EXPECT_EQ(hashText(k896BitMessage),
              "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1");
}

TEST(Sha256, DigestsMillionLetterAFedInPieces) {
    EXPECT_EQ(hashText(std::string(1000000, 'a'), 999),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Sha256, SplitsAcrossBlockBoundariesGiveSameDigest) {
    const std::string whole = hashText(k896BitMessage);
    for (const size_t chunk : {1U, 7U, 55U, 63U, 64U, 65U}) {
        SCOPED_TRACE(chunk);
        EXPECT_EQ(hashText(k896BitMessage, chunk), whole);
    }
}

} // namespace
