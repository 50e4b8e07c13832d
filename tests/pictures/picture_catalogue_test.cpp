// The written picture set: the files the demo loads, their headers, and whether they are real
// pictures (varied, distinct from each other, the same every run).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pictures/background.h"
#include "pictures/bmp.h"
#include "pictures/catalogue.h"
#include "tests/pictures/picture_test_support.h"

namespace {

const std::vector<std::string> kExpectedNames = {
    "background.bmp", "rock1.bmp",  "rock3.bmp",  "rock4.bmp",  "rock5.bmp",
    "rock6.bmp",      "water1.bmp", "water2.bmp", "water3.bmp", "metal1.bmp",
    "metal2.bmp",     "cloud1.bmp", "cloud2.bmp"};

bool isPowerOfTwo(uint32_t n) {
    return n != 0 && (n & (n - 1)) == 0;
}

// Luma at the given share of the way up the sorted pixels, 0 to 255.
double findLumaPercentile(const Image& image, double share) {
    std::vector<double> lumas;
    lumas.reserve(image.pixels.size());
    for (const Rgb8 p : image.pixels) {
        lumas.push_back(measurePixelLuma(p));
    }
    std::sort(lumas.begin(), lumas.end());
    return lumas[static_cast<size_t>(share * static_cast<double>(lumas.size() - 1))];
}

// Mean colour of each cell of an 8 x 8 grid laid over the picture: what a tiny sphere shows.
std::vector<double> makeThumbnail(const Image& image) {
    constexpr int kGrid = 8;
    std::vector<double> sums(kGrid * kGrid * 3, 0.0);
    std::vector<int> counts(kGrid * kGrid, 0);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const int cell = (y * kGrid / image.height) * kGrid + x * kGrid / image.width;
            const Rgb8 p = readPixel(image, x, y);
            sums[static_cast<size_t>(cell * 3)] += p.r;
            sums[static_cast<size_t>(cell * 3 + 1)] += p.g;
            sums[static_cast<size_t>(cell * 3 + 2)] += p.b;
            ++counts[static_cast<size_t>(cell)];
        }
    }
    for (size_t i = 0; i < sums.size(); ++i) {
        sums[i] /= counts[i / 3];
    }
    return sums;
}

double measureMeanDifference(const std::vector<double>& a, const std::vector<double>& b) {
    double sum = 0.0;
    for (size_t i = 0; i < a.size(); ++i) {
        sum += std::fabs(a[i] - b[i]);
    }
    return sum / static_cast<double>(a.size());
}

// Mean absolute difference per channel between two columns of a picture, 0 to 255.
double measureColumnStep(const Image& image, int a, int b) {
    double sum = 0.0;
    for (int y = 0; y < image.height; ++y) {
        const Rgb8 p = readPixel(image, a, y);
        const Rgb8 q = readPixel(image, b, y);
        sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
    }
    return sum / (3.0 * image.height);
}

TEST(PictureCatalogue, ListsTheThirteenPicturesTheDemoLoads) {
    std::vector<std::string> names;
    for (const PictureRecipe& recipe : listPictures()) {
        names.emplace_back(recipe.fileName);
    }
    EXPECT_EQ(names, kExpectedNames);
}

TEST(PictureCatalogue, WriteReportsAnOutputFolderThatCannotBeMade) {
    const ScratchDir scratch("pictures-blocked");
    // A plain file where the bitmap folder's parent should be.
    const std::filesystem::path blocker = scratch.path / "not-a-folder";
    ASSERT_TRUE(writeBmp(blocker, makeImage(1, 1)));
    std::string error;
    EXPECT_FALSE(writeAllPictures(blocker, &error));
    EXPECT_NE(error.find("bitmap"), std::string::npos) << error;
}

// Paints the whole set once per test program and keeps the files' bytes.
class PictureFiles : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const ScratchDir scratch("pictures-all");
        std::string error;
        written_ = writeAllPictures(scratch.path, &error);
        ASSERT_TRUE(written_) << error;
        for (const std::string& name : kExpectedNames) {
            files_[name] = readFileBytes(scratch.path / "bitmap" / name);
        }
    }

    static const std::vector<uint8_t>& bytesOf(const std::string& name) { return files_[name]; }
    static Image imageOf(const std::string& name) { return decodeBmp(files_[name]); }

    void SetUp() override { ASSERT_TRUE(written_); }

  private:
    static inline bool written_ = false;
    static inline std::map<std::string, std::vector<uint8_t>> files_;
};

TEST_F(PictureFiles, AllThirteenAreWellFormedBmpFiles) {
    for (const std::string& name : kExpectedNames) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t>& bytes = bytesOf(name);
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ(bytes[0], 'B');
        EXPECT_EQ(bytes[1], 'M');
        EXPECT_EQ(readU32(bytes, 2), bytes.size());
        EXPECT_EQ(readU32(bytes, 10), 54u);
        EXPECT_EQ(readU32(bytes, 14), 40u);
        EXPECT_EQ(readU16(bytes, 26), 1u);
        EXPECT_EQ(readU16(bytes, 28), 24u);
        EXPECT_EQ(readU32(bytes, 30), 0u);
        const uint32_t width = readU32(bytes, 18);
        const uint32_t height = readU32(bytes, 22);
        const uint32_t stride = (width * 3 + 3) / 4 * 4;
        EXPECT_EQ(readU32(bytes, 34), stride * height);
        EXPECT_EQ(bytes.size(), 54u + stride * height);
    }
    // The background is drawn 1:1 into the 800 x 600 window.
    EXPECT_EQ(readU32(bytesOf("background.bmp"), 18), 800u);
    EXPECT_EQ(readU32(bytesOf("background.bmp"), 22), 600u);
}

TEST_F(PictureFiles, SomeSpherePictureHasOddSizesAndPaddedRows) {
    // Neither side a power of two, and 3 * width not a multiple of 4, so the reader's row
    // padding and the upload of odd-sized textures both get exercised.
    int oddSized = 0;
    for (const std::string& name : kExpectedNames) {
        const std::vector<uint8_t>& bytes = bytesOf(name);
        const uint32_t width = readU32(bytes, 18);
        if (name != "background.bmp" && !isPowerOfTwo(width) && !isPowerOfTwo(readU32(bytes, 22)) &&
            width * 3 % 4 != 0) {
            ++oddSized;
        }
    }
    EXPECT_GE(oddSized, 1);
}

TEST_F(PictureFiles, EveryPictureSpansAWideRangeOfBrightness) {
    // The middle 90% of pixels must cover at least 40 of the 255 luma levels: no flat fills.
    for (const std::string& name : kExpectedNames) {
        SCOPED_TRACE(name);
        const Image image = imageOf(name);
        ASSERT_FALSE(image.pixels.empty());
        EXPECT_GE(findLumaPercentile(image, 0.95) - findLumaPercentile(image, 0.05), 40.0);
    }
}

TEST_F(PictureFiles, NoTwoPicturesLookAlike) {
    // On an 8 x 8 grid of mean colours, any two differ by 12 levels per channel on average.
    std::vector<std::vector<double>> thumbnails;
    for (const std::string& name : kExpectedNames) {
        thumbnails.push_back(makeThumbnail(imageOf(name)));
    }
    for (size_t i = 0; i < thumbnails.size(); ++i) {
        for (size_t j = i + 1; j < thumbnails.size(); ++j) {
            EXPECT_GT(measureMeanDifference(thumbnails[i], thumbnails[j]), 12.0)
                << kExpectedNames[i] << " and " << kExpectedNames[j];
        }
    }
}

TEST(PictureBackground, IsDarkButNowhereBlack) {
    const Image image = paintBackground();
    ASSERT_EQ(image.width, 800);
    ASSERT_EQ(image.height, 600);
    // Dark enough that bright spheres and sprays stand out: median luma under 100 of 255.
    EXPECT_LT(findLumaPercentile(image, 0.5), 100.0);
    // Every 20 x 20 block (40 x 30 of them) keeps some of the picture's own colour: mean luma
    // at least 8 of 255.
    constexpr int kBlock = 20;
    for (int by = 0; by + kBlock <= image.height; by += kBlock) {
        for (int bx = 0; bx + kBlock <= image.width; bx += kBlock) {
            double sum = 0.0;
            for (int y = by; y < by + kBlock; ++y) {
                for (int x = bx; x < bx + kBlock; ++x) {
                    sum += measurePixelLuma(readPixel(image, x, y));
                }
            }
            EXPECT_GE(sum / (kBlock * kBlock), 8.0) << "block at " << bx << "," << by;
        }
    }
}

// Share of pixels much brighter than the sky around them: star light, 0 to 1.
double measureStarShare(const Image& image) {
    int bright = 0;
    for (const Rgb8 p : image.pixels) {
        bright += measurePixelLuma(p) > 120.0 ? 1 : 0;
    }
    return static_cast<double>(bright) / static_cast<double>(image.pixels.size());
}

// The centred part of the standard picture that covers a width x height one, at its own scale.
Image cropToCover(const Image& image, int width, int height) {
    const double scale = std::max(1.0 * width / image.width, 1.0 * height / image.height);
    const int w = static_cast<int>(std::lround(width / scale));
    const int h = static_cast<int>(std::lround(height / scale));
    return paintImage(w, h, [&](int x, int y) {
        const Rgb8 p = readPixel(image, x + (image.width - w) / 2, y + (image.height - h) / 2);
        return Colour{p.r / 255.0, p.g / 255.0, p.b / 255.0};
    });
}

TEST(PictureBackground, LooksTheSameAtEverySizeWithStarsStillPoints) {
    // Each is the standard sky scaled to cover it and centred (at 4:3 the whole of it): the
    // same gas and dust at the 8 x 8 grid's scale, and stars a similar share of the pixels
    // (stars scaled with the picture would cover several times more, or crowd when shrunk).
    // Bands of rows on several threads paint the same pixels as one thread.
    struct Case {
        int width;
        int height;
        int threads;
        bool compareWithOneThread;
    };
    const Image standard = paintBackground();
    const double standardStars = measureStarShare(standard);
    for (const Case c :
         {Case{400, 300, 3, true}, Case{1600, 1200, 2, false}, Case{1280, 720, 2, false}}) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        const Image image = paintBackgroundAt(c.width, c.height, c.threads);
        ASSERT_EQ(image.width, c.width);
        ASSERT_EQ(image.height, c.height);
        EXPECT_LT(measureMeanDifference(makeThumbnail(image),
                                        makeThumbnail(cropToCover(standard, c.width, c.height))),
                  1.5);
        EXPECT_NEAR(measureStarShare(image) / standardStars, 1.0, 0.6);
        if (c.compareWithOneThread) {
            EXPECT_TRUE(encodeBmp(image) == encodeBmp(paintBackgroundAt(c.width, c.height, 1)));
        }
    }
}

TEST(PictureSpheres, EveryPictureWrapsAroundWithoutASeam) {
    // The last column meets the first on the sphere, so the step between them must look like
    // any other step between neighbouring columns: at most 1.5 times the largest of those.
    // A picture painted without wrapping jumps there by many times the usual step.
    for (const PictureRecipe& recipe : listPictures()) {
        if (std::string(recipe.fileName) == "background.bmp") {
            continue;
        }
        SCOPED_TRACE(recipe.fileName);
        const Image image = recipe.paint();
        double largestStep = 0.0;
        for (int x = 0; x + 1 < image.width; ++x) {
            largestStep = std::max(largestStep, measureColumnStep(image, x, x + 1));
        }
        EXPECT_LE(measureColumnStep(image, image.width - 1, 0), 1.5 * largestStep);
    }
}

TEST_F(PictureFiles, RepaintingGivesTheSameBytes) {
    for (const PictureRecipe& recipe : listPictures()) {
        SCOPED_TRACE(recipe.fileName);
        EXPECT_TRUE(encodeBmp(recipe.paint()) == bytesOf(recipe.fileName));
    }
}

} // namespace
