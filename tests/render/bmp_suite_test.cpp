// Conformance: every file of the shared BMP suite is read or refused exactly as its manifest says.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bmp_test_files.h"
#include "common/sha256.h"

namespace {

// Set by the build to the suite folder next to the source tree.
const std::filesystem::path kSuiteDir = VELMORIN_BMPSUITE_DIR;
constexpr size_t kBytesPerPixel = 3;

// One manifest row: the columns the test uses.
struct SuiteEntry {
    std::string path; // relative to the suite folder
    size_t headerBlockSize = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool read = false; // verdict: read, else refuse
    std::string rgbSha256;
};

// Names the file in test listings instead of dumping the struct's bytes.
void PrintTo(const SuiteEntry& entry, std::ostream* out) {
    *out << entry.path;
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    std::string field;
    while (std::getline(stream, field, '\t')) {
        fields.push_back(field);
    }
    return fields;
}

size_t columnIndex(const std::vector<std::string>& header, const std::string& name) {
    for (size_t i = 0; i < header.size(); ++i) {
        if (header[i] == name) {
            return i;
        }
    }
    ADD_FAILURE() << "manifest has no column " << name;
    return 0;
}

// Columns are found by name. An empty result means a missing manifest: the test below fails.
std::vector<SuiteEntry> loadSuiteManifest() {
    std::ifstream file(kSuiteDir / "MANIFEST.tsv");
    std::string line;
    if (!std::getline(file, line)) {
        return {};
    }
    const std::vector<std::string> header = splitTabs(line);
    const size_t pathColumn = columnIndex(header, "path");
    const size_t offBitsColumn = columnIndex(header, "bfOffBits");
    const size_t widthColumn = columnIndex(header, "biWidth");
    const size_t heightColumn = columnIndex(header, "biHeight");
    const size_t verdictColumn = columnIndex(header, "verdict");
    const size_t shaColumn = columnIndex(header, "rgb_sha256");
    std::vector<SuiteEntry> entries;
    while (std::getline(file, line)) {
        const std::vector<std::string> fields = splitTabs(line);
        if (fields.size() < header.size()) {
            continue; // counted as missing by the folder check
        }
        SuiteEntry entry;
        entry.path = fields[pathColumn];
        entry.read = fields[verdictColumn] == "read";
        if (entry.read) {
            entry.headerBlockSize = std::stoul(fields[offBitsColumn]) - kBmpFileHeaderSize;
            entry.width = std::stoi(fields[widthColumn]);
            entry.height = std::stoi(fields[heightColumn]);
            entry.rgbSha256 = fields[shaColumn];
        }
        entries.push_back(entry);
    }
    return entries;
}

const std::vector<SuiteEntry>& suiteEntries() {
    static const std::vector<SuiteEntry> entries = loadSuiteManifest();
    return entries;
}

// SHA-256 of the picture's RGB bytes, bottom row first, without the padding.
std::string hashPicture(const BmpOutcome& outcome) {
    const size_t paddedRowBytes = static_cast<size_t>(outcome.record.paddedWidth) * kBytesPerPixel;
    const size_t rowBytes = static_cast<size_t>(outcome.record.width) * kBytesPerPixel;
    Sha256 sha;
    sha256Init(&sha);
    for (size_t r = 0; r < static_cast<size_t>(outcome.record.height); ++r) {
        sha256Update(&sha, outcome.pixels.data() + r * paddedRowBytes, rowBytes);
    }
    char hex[kSha256HexSize];
    sha256FinishHex(&sha, hex);
    return hex;
}

// Counts the bytes of the padded buffer outside the picture that are not black.
size_t countLitPaddingBytes(const BmpOutcome& outcome) {
    const size_t paddedRowBytes = static_cast<size_t>(outcome.record.paddedWidth) * kBytesPerPixel;
    const size_t rowBytes = static_cast<size_t>(outcome.record.width) * kBytesPerPixel;
    size_t lit = 0;
    for (size_t i = 0; i < outcome.pixels.size(); ++i) {
        const bool inPicture = i / paddedRowBytes < static_cast<size_t>(outcome.record.height) &&
                               i % paddedRowBytes < rowBytes;
        lit += !inPicture && outcome.pixels[i] != 0 ? 1 : 0;
    }
    return lit;
}

TEST(BmpSuite, ManifestListsEveryFileOfSuiteFolder) {
    ASSERT_TRUE(std::filesystem::is_directory(kSuiteDir))
        << "BMP suite missing at " << kSuiteDir << "; the conformance tests cannot run";
    size_t filesInFolder = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kSuiteDir)) {
        filesInFolder += entry.path().extension() == ".bmp" ? 1 : 0;
    }
    EXPECT_GT(filesInFolder, 0U);
    EXPECT_EQ(suiteEntries().size(), filesInFolder);
}

class BmpSuiteFile : public testing::TestWithParam<SuiteEntry> {};

TEST_P(BmpSuiteFile, IsReadOrRefusedAsManifestSays) {
    const SuiteEntry& entry = GetParam();
    const BmpOutcome outcome =
        readBmpOutcome((kSuiteDir / entry.path).string(), entry.headerBlockSize);
    EXPECT_EQ(outcome.descriptorsLeftOpen, 0);
    if (!entry.read) {
        EXPECT_FALSE(outcome.read);
        EXPECT_EQ(outcome.reports.size(), 1U);
        return;
    }
    ASSERT_TRUE(outcome.read) << (outcome.reports.empty() ? "" : outcome.reports[0]);
    EXPECT_TRUE(outcome.reports.empty());
    EXPECT_EQ(outcome.record.width, entry.width);
    EXPECT_EQ(outcome.record.height, entry.height);
    EXPECT_EQ(hashPicture(outcome), entry.rgbSha256);
    EXPECT_EQ(countLitPaddingBytes(outcome), 0U);
}

std::string nameSuiteEntry(const testing::TestParamInfo<SuiteEntry>& info) {
    std::string name = info.param.path;
    for (char& c : name) {
        const bool alnum =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        c = alnum ? c : '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Manifest, BmpSuiteFile, testing::ValuesIn(suiteEntries()), nameSuiteEntry);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(BmpSuiteFile);

} // namespace
