// velmorin-capture from the outside: the PNG it writes, its determinism, and its usage errors.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

#include "render/bmp.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kCapture = VELMORIN_CAPTURE_PATH;
constexpr const char* kBuildDir = VELMORIN_BUILD_DIR; // holds the painted bitmap/ folder
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kUsageStatus = 2;
constexpr const char* kFrameArgs = " --frames 30 --dt 0.015";
// The background's lower-left corner is drawn at scene (-3, -3), 9 units before the eye, with
// the frustum +-1 wide at the near plane 1: window x = 400 + 400 * -3 / 9 = 266.67, y = 166.67;
// pixel centres from there on take the picture's columns and rows, so the picture's (0, 0)
// lands on window pixel (267, 167), counted from the lower-left corner.
constexpr int kBackgroundWindowX = 267;
constexpr int kBackgroundWindowY = 167;

struct Png {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb; // top row first
};

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text) {
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return result + "'";
}

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CaptureTool : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        scratch = fs::temp_directory_path() /
                  ("velmorin-capture-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(scratch);
        fs::create_directories(scratch);
    }
    void TearDown() override { fs::remove_all(scratch); }

    // Runs the tool with the arguments (already quoted where needed) from the folder `where`.
    RunResult run(const std::string& args, const fs::path& where) const {
        const fs::path outFile = scratch / "stdout.txt";
        const fs::path errFile = scratch / "stderr.txt";
        const std::string command = "cd " + quoted(where.string()) + " && " + quoted(kCapture) +
                                    " " + args + " >" + quoted(outFile.string()) + " 2>" +
                                    quoted(errFile.string());
        const int raw = std::system(command.c_str());
        RunResult result;
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        result.out = readText(outFile);
        result.err = readText(errFile);
        return result;
    }

    // Captures from the build folder with the pictures; returns the PNG's path.
    fs::path captureSeed(uint32_t seed, const std::string& name) const {
        const fs::path png = scratch / name;
        const RunResult result =
            run("--seed " + std::to_string(seed) + kFrameArgs + " --out " + quoted(png.string()),
                kBuildDir);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        return png;
    }

    void expectUsageError(const std::string& args) const {
        const RunResult result = run(args, scratch);
        EXPECT_EQ(result.status, kUsageStatus) << args;
        EXPECT_EQ(result.out, "") << args;
        EXPECT_EQ(result.err.rfind("usage: velmorin-capture", 0), 0u) << args << ": " << result.err;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << args << ": " << result.err;
    }

    fs::path scratch;
};

Png readPng(const fs::path& path) {
    Png png;
    int channels = 0;
    uint8_t* pixels = stbi_load(path.c_str(), &png.width, &png.height, &channels, 3);
    if (pixels != nullptr) {
        png.rgb.assign(pixels, pixels + static_cast<size_t>(png.width) * png.height * 3);
        stbi_image_free(pixels);
    }
    return png;
}

std::vector<uint8_t> readBytes(const fs::path& path) {
    const std::string text = readText(path);
    return {text.begin(), text.end()};
}

uint32_t pixelAt(const Png& png, int x, int row) {
    const uint8_t* p = &png.rgb[(static_cast<size_t>(row) * png.width + x) * 3];
    return (static_cast<uint32_t>(p[0]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[2];
}

TEST_F(CaptureTool, WritesAWindowSizedPng) {
    const Png png = readPng(captureSeed(3, "frame.png"));
    EXPECT_EQ(png.width, kWidth);
    EXPECT_EQ(png.height, kHeight);
}

TEST_F(CaptureTool, CapturedFrameShowsMoreThanOneColour) {
    const Png png = readPng(captureSeed(3, "frame.png"));
    ASSERT_EQ(png.rgb.size(), static_cast<size_t>(kWidth) * kHeight * 3);
    std::set<uint32_t> colours;
    for (int row = 0; row < kHeight; row++) {
        for (int x = 0; x < kWidth; x++) {
            colours.insert(pixelAt(png, x, row));
        }
    }
    // The painted background alone has far more than a handful of colours.
    EXPECT_GT(colours.size(), 100u);
}

// Top-down rows: the window's top row, where the background picture lies, comes first.
TEST_F(CaptureTool, TopRowOfThePngShowsTheBackgroundPicture) {
    const Png png = readPng(captureSeed(3, "frame.png"));
    ASSERT_EQ(png.rgb.size(), static_cast<size_t>(kWidth) * kHeight * 3);
    uint8_t* header = nullptr;
    ImageRecord record{};
    const fs::path background = fs::path(kBuildDir) / "bitmap" / "background.bmp";
    uint8_t* picture = readBmp(background.c_str(), &header, &record);
    ASSERT_NE(picture, nullptr);
    const int pictureRow = (kHeight - 1) - kBackgroundWindowY; // the window's top row
    int matching = 0;
    int compared = 0;
    for (int x = kBackgroundWindowX; x < kWidth; x++) {
        const uint8_t* p = &picture[(static_cast<size_t>(pictureRow) * record.paddedWidth +
                                     (x - kBackgroundWindowX)) *
                                    3];
        const uint32_t expected =
            (static_cast<uint32_t>(p[0]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[2];
        matching += pixelAt(png, x, 0) == expected ? 1 : 0;
        compared++;
    }
    std::free(picture);
    std::free(header);
    // A sphere or a spray may cover a few pixels of the row, never most of it.
    EXPECT_GT(matching, compared * 9 / 10) << matching << " of " << compared;
}

// The share of a PNG row's pixels that are black.
double blackShare(const Png& png, int row) {
    int black = 0;
    for (int x = 0; x < png.width; x++) {
        black += pixelAt(png, x, row) == 0 ? 1 : 0;
    }
    return static_cast<double>(black) / png.width;
}

// --size sets the frame; --background fills it, leaves the fixed placement's black around the
// picture (left of it a third of the width, below it the bottom rows), or leaves it all black.
TEST_F(CaptureTool, SizeAndBackgroundChooseTheFrame) {
    struct Case {
        const char* args;
        int width;
        int height;
        double topBlack[2]; // the least and the most of the top row that may be black
        double bottomBlack[2];
    };
    const Case cases[] = {
        {"--size 320x180 --background fill", 320, 180, {0.0, 0.0}, {0.0, 0.0}},
        {"--size 180x320 --background fill", 180, 320, {0.0, 0.0}, {0.0, 0.0}},
        {"--size 320x180", 320, 180, {0.3, 0.4}, {0.9, 1.0}},
        {"--background none", kWidth, kHeight, {0.95, 1.0}, {0.95, 1.0}},
    };
    for (const Case& c : cases) {
        const fs::path png = scratch / "sized.png";
        const RunResult result = run(std::string("--seed 3") + kFrameArgs + " " + c.args +
                                         " --out " + quoted(png.string()),
                                     kBuildDir);
        ASSERT_EQ(result.status, 0) << c.args << ": " << result.err;
        const Png frame = readPng(png);
        ASSERT_EQ(frame.width, c.width) << c.args;
        ASSERT_EQ(frame.height, c.height) << c.args;
        EXPECT_GE(blackShare(frame, 0), c.topBlack[0]) << c.args;
        EXPECT_LE(blackShare(frame, 0), c.topBlack[1]) << c.args;
        EXPECT_GE(blackShare(frame, c.height - 1), c.bottomBlack[0]) << c.args;
        EXPECT_LE(blackShare(frame, c.height - 1), c.bottomBlack[1]) << c.args;
    }
}

// Outside the fixed placement the scene keeps its scale to the frame's height, so a wider
// frame only shows more at the sides: 960x720 is the middle of 1280x720, spheres and sprays.
TEST_F(CaptureTool, AWiderFrameShowsMoreOfTheSceneAtTheSameSize) {
    Png frames[2];
    for (const int width : {960, 1280}) {
        const fs::path png = scratch / "frame.png";
        ASSERT_EQ(run("--seed 3" + std::string(kFrameArgs) + " --background none --size " +
                          std::to_string(width) + "x720 --out " + quoted(png.string()),
                      kBuildDir)
                      .status,
                  0);
        frames[width / 1280] = readPng(png);
    }
    ASSERT_TRUE(frames[0].rgb.size() == 960 * 720 * 3 && frames[1].rgb.size() == 1280 * 720 * 3);
    int lit = 0;
    int same = 0;
    for (int row = 0; row < 720; row++) {
        for (int x = 0; x < 960; x++) {
            const uint32_t p = pixelAt(frames[0], x, row);
            lit += p != 0 ? 1 : 0;
            same += p != 0 && p == pixelAt(frames[1], x + 160, row) ? 1 : 0;
        }
    }
    EXPECT_GT(lit, 960 * 720 / 200);
    EXPECT_GE(same, lit * 99 / 100) << same << " of " << lit;
}

TEST_F(CaptureTool, SameSeedGivesByteIdenticalPngs) {
    const std::vector<uint8_t> first = readBytes(captureSeed(11, "first.png"));
    const std::vector<uint8_t> second = readBytes(captureSeed(11, "second.png"));
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first, second);
}

TEST_F(CaptureTool, DifferentSeedsGiveDifferentPngs) {
    const std::vector<uint8_t> first = readBytes(captureSeed(11, "first.png"));
    const std::vector<uint8_t> other = readBytes(captureSeed(12, "other.png"));
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first, other);
}

// Twice the speed on half the dt is the same step to the last bit; more spheres, another frame.
TEST_F(CaptureTool, SettingsReachTheFrames) {
    const std::vector<uint8_t> plain = readBytes(captureSeed(11, "plain.png"));
    const auto capture = [&](const std::string& args, const char* name) {
        const fs::path png = scratch / name;
        const RunResult result =
            run("--seed 11 " + args + " --out " + quoted(png.string()), kBuildDir);
        EXPECT_EQ(result.status, 0) << result.err;
        return readBytes(png);
    };
    ASSERT_FALSE(plain.empty());
    EXPECT_EQ(capture("--frames 30 --dt 0.0075 --speed 2", "fast.png"), plain);
    EXPECT_NE(capture("--frames 30 --dt 0.015 --bodies 12 --spray 37", "more.png"), plain);
}

TEST_F(CaptureTool, EveryKthFrameIsWrittenWithItsNumberAndTheLastMatchesOut) {
    const fs::path out = scratch / "last.png";
    const RunResult result =
        run("--seed 5 --frames 7 --dt 0.015 --every 3 " + quoted((scratch / "shot").string()) +
                " --out " + quoted(out.string()),
            kBuildDir);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::exists(scratch / "shot-000003.png"));
    EXPECT_TRUE(fs::exists(scratch / "shot-000006.png"));
    EXPECT_FALSE(fs::exists(scratch / "shot-000007.png"));
    EXPECT_FALSE(fs::exists(scratch / "shot-000001.png"));
    // Frame 6 of a 7-frame run is the last frame of a 6-frame run.
    const fs::path sixth = scratch / "six.png";
    ASSERT_EQ(
        run("--seed 5 --frames 6 --dt 0.015 --out " + quoted(sixth.string()), kBuildDir).status, 0);
    EXPECT_EQ(readBytes(scratch / "shot-000006.png"), readBytes(sixth));
    EXPECT_NE(readBytes(scratch / "shot-000006.png"), readBytes(out));
}

// --dir finds the pictures; the output name stays relative to where the tool started.
TEST_F(CaptureTool, DirOptionReadsPicturesFromThereAndWritesHere) {
    const std::vector<uint8_t> fromBuild = readBytes(captureSeed(4, "build.png"));
    const RunResult result = run("--seed 4" + std::string(kFrameArgs) + " --dir " +
                                     quoted(kBuildDir) + " --out relative.png",
                                 scratch);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(readBytes(scratch / "relative.png"), fromBuild);
}

TEST_F(CaptureTool, MissingPicturesAreReportedAndTheFrameIsStillWritten) {
    const RunResult result = run("--seed 4 --frames 2 --dt 0.015 --out frame.png", scratch);
    EXPECT_EQ(result.status, 0);
    ASSERT_FALSE(result.err.empty());
    size_t lineStart = 0;
    while (lineStart < result.err.size()) {
        const size_t lineEnd = result.err.find('\n', lineStart);
        ASSERT_NE(lineEnd, std::string::npos);
        EXPECT_EQ(result.err.compare(lineStart, 18, "velmorin-capture: "), 0)
            << result.err.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
    }
    const Png png = readPng(scratch / "frame.png");
    EXPECT_EQ(png.width, kWidth);
    EXPECT_EQ(png.height, kHeight);
}

int differingPixels(const Png& a, const Png& b) {
    int differing = 0;
    for (size_t i = 0; i + 2 < a.rgb.size() && i + 2 < b.rgb.size(); i += 3) {
        differing +=
            a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1] || a.rgb[i + 2] != b.rgb[i + 2]
                ? 1
                : 0;
    }
    return differing;
}

// The shader renderer in an ES 2 context against the fixed-function one, on frames with full
// sprays: at most 0.1 % of the pixels may differ at all (rounding of the lighting by one step,
// a point rasterised a pixel over).
TEST_F(CaptureTool, Gles2FramesMatchGl11FramesToATenthOfAPercent) {
    constexpr int kAllowed = kWidth * kHeight / 1000;
    for (uint32_t seed : {7u, 1234u}) {
        const std::string common = "--seed " + std::to_string(seed) + " --frames 200 --dt 0.015";
        const fs::path gl11 = scratch / "gl11.png";
        const fs::path gles2 = scratch / "gles2.png";
        const RunResult first =
            run(common + " --renderer gl11 --out " + quoted(gl11.string()), kBuildDir);
        const RunResult second =
            run(common + " --renderer gles2 --out " + quoted(gles2.string()), kBuildDir);
        ASSERT_EQ(first.status, 0) << first.err;
        ASSERT_EQ(second.status, 0) << second.err;
        EXPECT_EQ(second.err, "");
        const Png reference = readPng(gl11);
        const Png shaded = readPng(gles2);
        ASSERT_EQ(shaded.rgb.size(), reference.rgb.size());
        const int differing = differingPixels(reference, shaded);
        EXPECT_LE(differing, kAllowed) << "seed " << seed;
        // Two pipelines never round every pixel alike: identical frames would mean the second
        // run did not use the shader renderer at all.
        EXPECT_GT(differing, 0) << "seed " << seed;
    }
}

// A following view draws the spray points as many pixels across as the frame is high over 600:
// at 3840x2160 (3.6 pixels, about 10 times the area) they cover about the share of the screen
// they cover at 800x600, where one-pixel points would cover a seventeenth of it.
TEST_F(CaptureTool, SprayPointsGrowWithTheFrameInAFollowingView) {
    // The pixels a full spray changes against none, over black, as a share of the frame.
    const auto sprayShare = [this](const std::string& args) {
        Png frames[2];
        for (const int spray : {100, 0}) {
            const fs::path png = scratch / "spray.png";
            const std::string all = "--seed 7 --frames 120 --dt 0.025 --background none " + args +
                                    " --spray " + std::to_string(spray) + " --out " +
                                    quoted(png.string());
            EXPECT_EQ(run(all, kBuildDir).status, 0) << all;
            frames[spray / 100] = readPng(png);
        }
        const size_t pixels = frames[0].rgb.size() / 3;
        return pixels == 0 ? 0.0
                           : static_cast<double>(differingPixels(frames[0], frames[1])) / pixels;
    };
    const double small = sprayShare("--size 800x600 --view follow");
    ASSERT_GT(small, 0.0005);
    EXPECT_GE(sprayShare("--size 3840x2160 --view follow") / small, 0.5);
    EXPECT_LT(sprayShare("--size 3840x2160 --view fixed") / small, 0.1);
}

TEST_F(CaptureTool, BadArgumentsAreUsageErrors) {
    expectUsageError("");
    expectUsageError("--frames 3 --dt 0.01 --out a.png");
    expectUsageError("--seed 1 --dt 0.01 --out a.png");
    expectUsageError("--seed 1 --frames 3 --out a.png");
    expectUsageError("--seed 1 --frames 3 --dt 0.01");
    expectUsageError("--seed -1 --frames 3 --dt 0.01 --out a.png");
    expectUsageError("--seed 4294967296 --frames 3 --dt 0.01 --out a.png");
    expectUsageError("--seed 1 --frames 0 --dt 0.01 --out a.png");
    expectUsageError("--seed 1 --frames 3x --dt 0.01 --out a.png");
    expectUsageError("--seed 1 --frames 3 --dt nan --out a.png");
    expectUsageError("--seed 1 --frames 3 --dt -0.5 --out a.png");
    expectUsageError("--seed 1 --frames 3 --dt 0.01 --out");
    expectUsageError("--seed 1 --frames 3 --dt 0.01 --out a.png --every 0 p");
    expectUsageError("--seed 1 --frames 3 --dt 0.01 --out a.png --every 2");
    expectUsageError("--seed 1 --frames 3 --dt 0.01 --out a.png --dir");
    expectUsageError("--seed 1 --seed 2 --frames 3 --dt 0.01 --out a.png");
    expectUsageError("--seed 1 --frames 3 --dt 0.01 --out a.png --bogus");
    expectUsageError("--seed 1 --frames 3 --dt 0.01 --out a.png --renderer");
    expectUsageError("--seed 1 --frames 3 --dt 0.01 --out a.png --renderer gl3");
    expectUsageError("--seed 1 --frames 3 --dt 0.01 --out a.png --speed 4.5");
    expectUsageError("--seed 1 --frames 3 --dt 0.01 --out a.png --size 0x600");
    expectUsageError("--seed 1 --frames 3 --dt 0.01 --out a.png --size 800");
    expectUsageError("--seed 1 --frames 3 --dt 0.01 --out a.png --background tiled");
    expectUsageError(
        "--seed 1 --frames 3 --dt 0.01 --out a.png --background none --background none");
    expectUsageError("--seed 1 --frames 3 --dt 0.01 --out a.png --view near");
    expectUsageError("--seed 1 --frames 3 --dt 0.01 --out a.png --renew sometimes");
    EXPECT_FALSE(fs::exists(scratch / "a.png"));
    // The edge that is fine: a step of 0 holds the scene still.
    EXPECT_EQ(run("--seed 1 --frames 1 --dt 0 --out still.png", scratch).status, 0);
}

} // namespace
