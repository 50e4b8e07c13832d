// The paint cache across runs: which sizes survive pruning, and whose pictures a name holds.
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/paint_cache.h"
#include "pictures/background.h"

namespace {

namespace fs = std::filesystem;

// Four sizes kept from earlier runs, written an hour apart (size 1 the longest ago), then a
// fifth painted now: the one just painted stays, and so does one read since, as both are new.
TEST(PaintCache, PruningKeepsTheNewestSizes) {
    struct Case {
        int readBeforePainting; // 0: none
        std::vector<int> kept;
    };
    const fs::path folder =
        fs::temp_directory_path() / ("velmorin-cache-" + std::to_string(::getpid()));
    for (const Case& c : {Case{0, {2, 3, 4, 5}}, Case{1, {1, 3, 4, 5}}}) {
        SCOPED_TRACE(c.readBeforePainting);
        fs::remove_all(folder);
        const auto now = fs::file_time_type::clock::now();
        for (int size = 1; size <= kPaintCacheSizes; ++size) {
            ASSERT_TRUE(writePaintCache(folder, makeImage(size, 1)));
            fs::last_write_time(namePaintCacheFile(folder, size, 1),
                                now - std::chrono::hours(kPaintCacheSizes + 1 - size));
        }
        std::vector<uint8_t> rgb;
        if (c.readBeforePainting != 0) {
            ASSERT_TRUE(readPaintCache(folder, c.readBeforePainting, 1, &rgb));
        }
        ASSERT_TRUE(writePaintCache(folder, makeImage(kPaintCacheSizes + 1, 1)));
        std::vector<int> kept;
        for (int size = 1; size <= kPaintCacheSizes + 1; ++size) {
            if (readPaintCache(folder, size, 1, &rgb)) {
                kept.push_back(size);
            }
        }
        EXPECT_EQ(kept, c.kept);
    }
    fs::remove_all(folder);
}

// After an upgrade the older painter's pictures must not be shown: the version is in the name.
TEST(PaintCache, FileNameHoldsThePainterVersionAndTheSize) {
    const std::string name = namePaintCacheFile("cache", 320, 200).filename().string();
    EXPECT_NE(name.find("v" + std::to_string(kBackgroundPainterVersion) + "-"), std::string::npos)
        << name;
    EXPECT_NE(name.find("320x200"), std::string::npos) << name;
}

} // namespace
