// The paint cache across runs: which sizes survive pruning, and whose pictures a name holds.
#include <unistd.h>

#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "app/paint_cache.h"
#include "pictures/background.h"

namespace {

namespace fs = std::filesystem;

// Four sizes from earlier runs, written an hour apart (size 1 the longest ago), then a fifth
// painted now: the one just painted stays, and so does one read since, as both are new.
TEST(PaintCache, PruningKeepsTheNewestSizes) {
    const fs::path folder = fs::temp_directory_path() / ("cache-" + std::to_string(getpid()));
    for (const auto& [read, kept] : {std::pair{0, "2345"}, std::pair{1, "1345"}}) {
        fs::remove_all(folder);
        for (int size = 1; size <= kPaintCacheSizes; ++size) {
            ASSERT_TRUE(writePaintCache(folder, makeImage(size, 1)));
            fs::last_write_time(namePaintCacheFile(folder, size, 1),
                                fs::file_time_type::clock::now() - std::chrono::hours(9 - size));
        }
        std::vector<uint8_t> rgb;
        ASSERT_TRUE(read == 0 || readPaintCache(folder, read, 1, &rgb));
        ASSERT_TRUE(writePaintCache(folder, makeImage(kPaintCacheSizes + 1, 1)));
        std::string found;
        for (int size = 1; size <= kPaintCacheSizes + 1; ++size) {
            found += readPaintCache(folder, size, 1, &rgb) ? std::to_string(size) : "";
        }
        EXPECT_EQ(found, kept) << "read before painting: " << read;
    }
    fs::remove_all(folder);
}

// After an upgrade the older painter's pictures must not be shown: the version is in the name.
TEST(PaintCache, FileNameHoldsThePainterVersionAndTheSize) {
    const std::string name = namePaintCacheFile("cache", 320, 200).filename().string();
    const std::string wanted = "v" + std::to_string(kBackgroundPainterVersion) + "-320x200";
    EXPECT_NE(name.find(wanted), std::string::npos) << name;
}

} // namespace
