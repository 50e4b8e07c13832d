// The settings file: its lines set options as the command line would, bad ones are named by line
// and left out, and the command line wins over the file.
#include <gtest/gtest.h>

#include <vector>

#include "app/settings_file.h"

namespace {

TEST(SettingsFile, GoodLinesApplyAndEachBadOneIsNamedAndLeftOut) {
    const std::string text = "# the wallpaper's settings\nbodies = 40\n\n"
                             "  max-fps=30   # half the refresh\r\n"
                             "#speed = 2\npictures = /srv/pic#1\nfps = true\nwallpaper = true\n"
                             "frobs = 1\nview fixed\nbodies = 7\nbodies = 8\nrenew = never";
    SettingsFile file;
    DemoOptions options;
    settingsFileApply(text, &file, &options);
    EXPECT_EQ(options.sim.bodies, 7u);
    EXPECT_EQ(effectiveMaxFps(options, 60), 30u);
    EXPECT_EQ(options.sim.speed, 1.0);
    EXPECT_STREQ(options.picturesDir, "/srv/pic#1");
    EXPECT_TRUE(options.showFps && options.renewGiven && !options.viewGiven);
    EXPECT_EQ(options.mode, WindowMode::SwitchedFullScreen);
    const std::vector<std::pair<int, std::string>> expected = {
        {2, "bodies: 40 is not a number from 1 to 20"},
        {8, "wallpaper: only on the command line"},
        {9, "frobs: no such setting"},
        {10, "not a line of name = value: view fixed"},
        {12, "bodies: already set on line 11"},
    };
    ASSERT_EQ(file.errors.size(), expected.size());
    for (size_t i = 0; i < expected.size(); i++) {
        EXPECT_EQ(std::pair(file.errors[i].line, file.errors[i].message), expected[i]);
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

} // namespace
