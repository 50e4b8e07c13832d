// The demo's command line: what each option sets, and every way of getting it wrong.
#include <gtest/gtest.h>

#include <initializer_list>
#include <regex>
#include <tuple>
#include <utility>
#include <vector>

#include "app/options.h"

namespace {

// Parses the given arguments after a program name.
OptionsVerdict parse(std::initializer_list<const char*> arguments, DemoOptions* options,
                     const char* saverWindowEnv = nullptr) {
    std::vector<const char*> argv{"velmorin"};
    argv.insert(argv.end(), arguments);
    return parseDemoOptions(static_cast<int>(argv.size()), argv.data(), saverWindowEnv, options);
}

OptionsVerdict verdictOf(std::initializer_list<const char*> arguments,
                         const char* saverWindowEnv = nullptr) {
    DemoOptions options;
    return parse(arguments, &options, saverWindowEnv);
}

TEST(DemoOptions, NoArgumentIsTheSwitchedFullScreenDemo) {
    DemoOptions options;
    ASSERT_EQ(parse({}, &options), OptionsVerdict::Run);
    EXPECT_EQ(options.mode, WindowMode::SwitchedFullScreen);
    EXPECT_FALSE(options.seedGiven);
    EXPECT_EQ(options.picturesDir, nullptr);
    EXPECT_FALSE(options.noVsync);
    EXPECT_FALSE(options.showFps);
    EXPECT_EQ(options.renderer, nullptr);
}

TEST(DemoOptions, WindowedDefaultsTo800By600AndTakesASize) {
    DemoOptions options;
    ASSERT_EQ(parse({"--windowed"}, &options), OptionsVerdict::Run);
    EXPECT_EQ(options.mode, WindowMode::Windowed);
    EXPECT_EQ(options.windowWidth, 800);
    EXPECT_EQ(options.windowHeight, 600);
    ASSERT_EQ(parse({"--windowed=1024x700"}, &options), OptionsVerdict::Run);
    EXPECT_EQ(options.windowWidth, 1024);
    EXPECT_EQ(options.windowHeight, 700);
}

TEST(DemoOptions, EveryValueOptionTakesItsValueEitherWay) {
    DemoOptions options;
    ASSERT_EQ(parse({"--seed", "4294967295", "--pictures=/tmp/p", "--max-fps", "30", "--no-vsync",
                     "--fps", "--desktop", "--renderer", "gles2"},
                    &options),
              OptionsVerdict::Run);
    EXPECT_TRUE(options.seedGiven);
    EXPECT_EQ(options.seed, 4294967295u);
    EXPECT_STREQ(options.picturesDir, "/tmp/p");
    EXPECT_EQ(effectiveMaxFps(options, 60), 30u);
    EXPECT_TRUE(options.noVsync);
    EXPECT_TRUE(options.showFps);
    EXPECT_EQ(options.mode, WindowMode::Desktop);
    EXPECT_STREQ(options.renderer, "gles2");
    ASSERT_EQ(parse({"--renderer=gl11"}, &options), OptionsVerdict::Run);
    EXPECT_STREQ(options.renderer, "gl11");
}

TEST(DemoOptions, SettingsTakeTheirRangeEdgesAndNothingBeyond) {
    struct Row {
        const char* option;
        const char* value;
        bool accepted;
    };
    const Row rows[] = {
        {"--bodies", "1", true},     {"--bodies", "20", true},    {"--bodies", "0", false},
        {"--bodies", "21", false},   {"--bodies", "5x", false},   {"--bodies", "+5", false},
        {"--speed", "0.25", true},   {"--speed", "4", true},      {"--speed", "1,5", true},
        {"--speed", "0.249", false}, {"--speed", "4.001", false}, {"--speed", "1e0", false},
        {"--speed", " 1", false},    {"--speed", "1.2.3", false}, {"--speed", ".", false},
        {"--spray", "0", true},      {"--spray", "100", true},    {"--spray", "101", false},
        {"--spray", "-1", false},    {"--spray", "", false},      {"--speed", "inf", false},
    };
    for (const Row& row : rows) {
        DemoOptions options;
        EXPECT_EQ(parse({row.option, row.value}, &options),
                  row.accepted ? OptionsVerdict::Run : OptionsVerdict::BadUsage)
            << row.option << " " << row.value;
    }
    DemoOptions options;
    ASSERT_EQ(parse({}, &options), OptionsVerdict::Run);
    EXPECT_EQ(options.sim.bodies, 5u);
    EXPECT_EQ(options.sim.speed, 1.0);
    EXPECT_EQ(options.sim.spray, 100u);
    ASSERT_EQ(parse({"--bodies", "20", "--speed=0,25", "--spray", "0"}, &options),
              OptionsVerdict::Run);
    EXPECT_EQ(options.sim.bodies, 20u);
    EXPECT_EQ(options.sim.speed, 0.25);
    EXPECT_EQ(options.sim.spray, 0u);
}

// Fixed only in the switched 800 by 600 mode unless asked for; a saver host's variable counts.
TEST(DemoOptions, BackgroundFillsEveryModeButTheSwitchedOne) {
    struct Case {
        std::vector<const char*> arguments;
        const char* saverWindowEnv;
        BackgroundMode expected;
    };
    const Case cases[] = {
        {{}, nullptr, BackgroundMode::Fixed},
        {{"--seed", "3"}, nullptr, BackgroundMode::Fixed},
        {{}, "0x600008", BackgroundMode::Fill},
        {{"--windowed=1280x720"}, nullptr, BackgroundMode::Fill},
        {{"--desktop"}, nullptr, BackgroundMode::Fill},
        {{"--root"}, nullptr, BackgroundMode::Fill},
        {{"--background", "none"}, nullptr, BackgroundMode::None},
        {{"--desktop", "--background=fixed"}, nullptr, BackgroundMode::Fixed},
        {{"--background", "fill"}, nullptr, BackgroundMode::Fill},
        {{"--wallpaper"}, nullptr, BackgroundMode::Fill},
        {{"--saver"}, nullptr, BackgroundMode::Fill},
        {{"--wallpaper", "--background", "none"}, nullptr, BackgroundMode::None},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv{"velmorin"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        DemoOptions options;
        ASSERT_EQ(parseDemoOptions(static_cast<int>(argv.size()), argv.data(), c.saverWindowEnv,
                                   &options),
                  OptionsVerdict::Run);
        EXPECT_EQ(effectiveBackground(options), c.expected)
            << (c.arguments.empty() ? "(none)" : c.arguments[0]);
    }
}

// Following and renewing in every mode option, a hosted saver's variable included; the switched
// demo keeps its one view and scene.
TEST(DemoOptions, ViewFollowsAndScenesRenewInEveryModeOption) {
    using enum ViewMode;
    using enum RenewMode;
    const std::tuple<std::vector<const char*>, const char*, ViewMode, RenewMode> cases[] = {
        {{}, nullptr, Fixed, Never},
        {{}, "0x600008", Follow, Auto},
        {{"--windowed"}, nullptr, Follow, Auto},
        {{"--desktop", "--view", "fixed"}, nullptr, Fixed, Auto},
        {{"--root", "--renew=never"}, nullptr, Follow, Never},
        {{"--wallpaper"}, nullptr, Follow, Auto},
        {{"--saver", "--view", "fixed", "--renew", "never"}, nullptr, Fixed, Never},
    };
    for (const auto& [arguments, saverWindowEnv, view, renew] : cases) {
        std::vector<const char*> argv{"velmorin"};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        DemoOptions options;
        ASSERT_EQ(
            parseDemoOptions(static_cast<int>(argv.size()), argv.data(), saverWindowEnv, &options),
            OptionsVerdict::Run);
        EXPECT_EQ(effectiveView(options), view) << argv.size();
        EXPECT_EQ(effectiveRenew(options), renew) << argv.size();
    }
}

TEST(DemoOptions, HelpAndVersionWinWhereverTheyStand) {
    EXPECT_EQ(verdictOf({"--help"}), OptionsVerdict::Help);
    EXPECT_EQ(verdictOf({"--fps", "--version"}), OptionsVerdict::Version);
    EXPECT_TRUE(std::regex_match(kVersionText, std::regex("velmorin [0-9]+\\.[0-9]+\\.[0-9]+")))
        << kVersionText;
}

TEST(DemoOptions, MalformedMissingRepeatedOrUnknownIsBadUsage) {
    for (auto arguments : std::vector<std::vector<const char*>>{
             {"--bogus"},
             {"-h"},
             {"windowed"},
             {"--seed"},               // value missing
             {"--seed", "4294967296"}, // one past the largest seed
             {"--seed", "-1"},
             {"--seed", "12abc"},
             {"--seed", "1", "--seed", "1"}, // given twice
             {"--fps", "--fps"},
             {"--fps=1"},                // a switch takes no value
             {"--windowed", "1024x768"}, // the size only comes after '='
             {"--windowed=0x600"},
             {"--windowed=800x"},
             {"--windowed=800x0"},
             {"--windowed=x600"},
             {"--windowed=800y600"},
             {"--windowed=80000x600"},
             {"--windowed", "--desktop"}, // two ways of showing at once
             {"--desktop", "--root"},
             {"--pictures="},
             {"--max-fps", "fast"},
             {"--max-fps", "100001"}, // one past the largest cap
             {"--window-id", "0"},
             {"--window-id", "0x"},
             {"--window-id", "0x0x12"},
             {"--window-id", "12g"},
             {"--window-id", "0x100000000"},
             {"--renderer", "gl3"},
             {"--renderer"},
             {"--renderer", "gl11", "--renderer", "gles2"},
             {"--bodies", "3", "--bodies", "3"},
             {"--speed", "2", "--speed", "2"},
             {"--spray", "9", "--spray", "9"},
             {"--speed"},
             {"--background", "tiled"},
             {"--background"},
             {"--background", "fill", "--background", "fill"},
             {"--wallpaper", "--saver"},
             {"--saver", "--wallpaper"},
             {"--wallpaper", "--windowed"},
             {"--saver", "--desktop"},
             {"--root", "--wallpaper"},
             {"--saver", "--window-id", "0x5"},
             {"--wallpaper", "--wallpaper"},
             {"--saver=1"},
             {"--view", "fixed"}, // the switched demo has one view, one scene and no file
             {"--renew", "never"},
             {"--config", "velmorin.conf"},
             {"--desktop", "--view", "wide"},
             {"--desktop", "--renew", "sometimes"},
             {"--desktop", "--config="},
         }) {
        DemoOptions options;
        std::vector<const char*> argv{"velmorin"};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        EXPECT_EQ(parseDemoOptions(static_cast<int>(argv.size()), argv.data(), nullptr, &options),
                  OptionsVerdict::BadUsage)
            << arguments[0] << (arguments.size() > 1 ? arguments[1] : "");
    }
}

TEST(DemoOptions, WindowIdIsHexWithPrefixOrDecimal) {
    DemoOptions options;
    ASSERT_EQ(parse({"--window-id", "0x600008"}, &options), OptionsVerdict::Run);
    EXPECT_EQ(options.mode, WindowMode::Saver);
    EXPECT_EQ(options.hostWindow, 0x600008u);
    ASSERT_EQ(parse({"--window-id=6291464"}, &options), OptionsVerdict::Run);
    EXPECT_EQ(options.hostWindow, 6291464u);
    ASSERT_EQ(parse({"--window-id", "0XAbC"}, &options), OptionsVerdict::Run);
    EXPECT_EQ(options.hostWindow, 0xABCu);
}

TEST(DemoOptions, HostVariableWinsOverFlagsAndAloneMakesASaver) {
    DemoOptions options;
    ASSERT_EQ(parse({"--window-id", "0x10"}, &options, "0x20"), OptionsVerdict::Run);
    EXPECT_EQ(options.hostWindow, 0x20u);
    ASSERT_EQ(parse({"--root"}, &options, "4096"), OptionsVerdict::Run);
    EXPECT_FALSE(options.drawOnRoot);
    EXPECT_EQ(options.hostWindow, 4096u);
    ASSERT_EQ(parse({}, &options, "0x30"), OptionsVerdict::Run);
    EXPECT_EQ(options.mode, WindowMode::Saver);
    EXPECT_EQ(options.hostWindow, 0x30u);
    ASSERT_EQ(parse({"--root"}, &options, ""), OptionsVerdict::Run);
    EXPECT_TRUE(options.drawOnRoot);
    EXPECT_EQ(verdictOf({}, "window"), OptionsVerdict::BadUsage);
    // A mode the user asked for by name is not taken over by a stray variable.
    for (auto mode : {std::pair{"--windowed", WindowMode::Windowed},
                      std::pair{"--wallpaper", WindowMode::Wallpaper},
                      std::pair{"--saver", WindowMode::StandaloneSaver}}) {
        ASSERT_EQ(parse({mode.first}, &options, "0x30"), OptionsVerdict::Run);
        EXPECT_EQ(options.mode, mode.second) << mode.first;
        EXPECT_EQ(options.hostWindow, 0u) << mode.first;
    }
}

TEST(DemoOptions, FrameCapIsTheRefreshRateUnlessToldOtherwise) {
    struct Row {
        std::initializer_list<const char*> arguments;
        int refreshHz; // 0: the system does not say
        uint32_t cap;  // 0: none
    };
    const Row rows[] = {
        {{}, 0, 60},
        {{}, 144, 144},
        {{"--windowed"}, 75, 75},
        {{"--no-vsync"}, 60, 0},
        {{"--max-fps", "24"}, 144, 24},
        {{"--max-fps", "0"}, 60, 0},
        {{"--root"}, 144, 60}, // a screensaver keeps to 60 on any display
        {{"--root", "--no-vsync"}, 144, 60},
        {{"--root", "--max-fps", "0"}, 60, 0},
        {{"--saver"}, 144, 60},
        {{"--saver", "--max-fps", "24"}, 60, 24},
        {{"--wallpaper"}, 144, 30}, // a wallpaper keeps to 30
        {{"--wallpaper", "--max-fps=0"}, 60, 0},
        {{"--seed", "3", "--wallpaper", "--bodies", "7", "--speed=2", "--spray", "9", "--fps",
          "--pictures", "p", "--renderer", "gles2", "--no-vsync", "--background", "fixed"},
         60,
         30},
    };
    for (const Row& row : rows) {
        DemoOptions options;
        ASSERT_EQ(parse(row.arguments, &options), OptionsVerdict::Run);
        EXPECT_EQ(effectiveMaxFps(options, row.refreshHz), row.cap)
            << *row.arguments.begin() << " at " << row.refreshHz << " Hz";
    }
}

} // namespace
