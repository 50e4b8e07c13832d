// The settings file: its lines set options as the command line would, bad ones are named by line
// and left out, and the command line wins over the file.
#include <gtest/gtest.h>

#include <vector>

#include "app/settings_file.h"

namespace {

TEST(SettingsFile, GoodLinesApplyAndEachBadOneIsNamedAndLeftOut) {
    const std::string text = "# the wallpaper's settings\n"
                             "bodies = 40\n"
                             "\n"
                             "  max-fps=30   # half the refresh\r\n"
                             "#speed = 2\n"
                             "pictures = /srv/pic#1\n"
                             "fps = true\n"
                             "no-vsync = off\n"
                             "wallpaper = true\n"
                             "frobs = 1\n"
                             "view fixed\n"
                             "background = tiled\n"
                             "bodies = 7\n"
                             "bodies = 8\n"
                             "renew = never";
    SettingsFile file;
    DemoOptions options;
    settingsFileApply(text, &file, &options);
    EXPECT_EQ(options.sim.bodies, 7u);
    EXPECT_TRUE(options.maxFpsGiven);
    EXPECT_EQ(options.maxFps, 30u);
    EXPECT_EQ(options.sim.speed, 1.0);
    EXPECT_STREQ(options.picturesDir, "/srv/pic#1");
    EXPECT_TRUE(options.showFps);
    EXPECT_FALSE(options.noVsync);
    EXPECT_EQ(options.mode, WindowMode::SwitchedFullScreen);
    EXPECT_FALSE(options.viewGiven);
    EXPECT_FALSE(options.backgroundGiven);
    EXPECT_TRUE(options.renewGiven);
    const std::vector<std::pair<int, std::string>> expected = {
        {2, "bodies: 40 is not a number from 1 to 20"},
        {9, "wallpaper: only on the command line"},
        {10, "frobs: no such setting"},
        {11, "not a line of name = value: view fixed"},
        {12, "background: tiled is not fill, fixed or none"},
        {14, "bodies: already set on line 13"},
    };
    ASSERT_EQ(file.errors.size(), expected.size());
    for (size_t i = 0; i < expected.size(); i++) {
        EXPECT_EQ(file.errors[i].line, expected[i].first);
        EXPECT_EQ(file.errors[i].message, expected[i].second);
    }
}

TEST(SettingsFile, TheCommandLineWinsOverTheFile) {
    SettingsFile file;
    DemoOptions options;
    settingsFileApply("bodies = 7\nmax-fps = 30\nbackground = none\nview = fixed\n", &file,
                      &options);
    const char* const argv[] = {"velmorin", "--wallpaper", "--bodies", "3", "--max-fps=0"};
    ASSERT_EQ(parseDemoOptionsOver(5, argv, nullptr, &options), OptionsVerdict::Run);
    EXPECT_EQ(options.mode, WindowMode::Wallpaper);
    EXPECT_EQ(options.sim.bodies, 3u);
    EXPECT_EQ(effectiveMaxFps(options, 60), 0u);
    EXPECT_EQ(effectiveBackground(options), BackgroundMode::None);
    EXPECT_EQ(effectiveView(options), ViewMode::Fixed);
}

TEST(SettingsFile, FoundUnderTheUsersConfigurationFolder) {
    EXPECT_EQ(settingsFileDefaultPath("/x/conf", "/home/u"), "/x/conf/velmorin/velmorin.conf");
    EXPECT_EQ(settingsFileDefaultPath("", "/home/u"), "/home/u/.config/velmorin/velmorin.conf");
    EXPECT_EQ(settingsFileDefaultPath("conf", "/home/u"), "/home/u/.config/velmorin/velmorin.conf");
    EXPECT_EQ(settingsFileDefaultPath(nullptr, nullptr), "");
}

} // namespace
