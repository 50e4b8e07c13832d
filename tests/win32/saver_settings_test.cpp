// The saver's settings as read back from the registry: whatever is stored gives a usable value.
#include <gtest/gtest.h>

#include <cstring>

#include "app/win32/win32_saver_settings.h"

namespace {

const SaverSettingRule* findRule(const char* name) {
    for (size_t i = 0; i < kSaverSettingRuleCount; i++) {
        if (std::strcmp(kSaverSettingRules[i].name, name) == 0) {
            return &kSaverSettingRules[i];
        }
    }
    return nullptr;
}

struct StoredCase {
    const char* name;
    SaverStored stored;
    uint32_t value;
    uint32_t expected;
};

TEST(SaverSettings, EveryStoredValueBecomesAUsableOne) {
    const StoredCase cases[] = {
        {"Bodies", SaverStored::Absent, 0, 5},     // nothing stored: the default
        {"Bodies", SaverStored::Dword, 12, 12},    // in range: kept
        {"Bodies", SaverStored::Dword, 0, 1},      // below: the least
        {"Bodies", SaverStored::Dword, 99, 20},    // above: the most
        {"Bodies", SaverStored::OtherType, 12, 5}, // a string or a QWORD: the default
        {"SpeedPercent", SaverStored::Absent, 0, 100},
        {"SpeedPercent", SaverStored::Dword, 150, 150},
        {"SpeedPercent", SaverStored::Dword, 10, 25},
        {"SpeedPercent", SaverStored::Dword, 0xFFFFFFFF, 400},
        {"Spray", SaverStored::Dword, 0, 0},
        {"Spray", SaverStored::Dword, 101, 100},
        {"Background", SaverStored::Dword, 1, 1}, // none
        {"Background", SaverStored::Dword, 7, 0}, // no such choice: fill
        {"ShowFps", SaverStored::Dword, 5, 1},    // any other number is on
        {"MaxFps", SaverStored::Absent, 0, 60},   // a saver's usual cap
        {"MaxFps", SaverStored::Dword, 0, 0},     // no cap, as asked
        {"MaxFps", SaverStored::OtherType, 30, 60},
        {"View", SaverStored::Absent, 0, 0},  // follow
        {"View", SaverStored::Dword, 1, 1},   // fixed
        {"View", SaverStored::Dword, 2, 0},   // no such choice: follow
        {"Renew", SaverStored::Absent, 0, 0}, // auto
        {"Renew", SaverStored::Dword, 1, 1},  // never
        {"Renew", SaverStored::Dword, 9, 0},  // no such choice: auto
    };
    for (const StoredCase& c : cases) {
        const SaverSettingRule* rule = findRule(c.name);
        ASSERT_NE(rule, nullptr) << c.name;
        EXPECT_EQ(saverSettingsReadValue(*rule, c.stored, c.value), c.expected)
            << c.name << " stored as " << static_cast<int>(c.stored) << " " << c.value;
    }
}

TEST(SaverSettings, StoredBackgroundChoiceReachesTheDemo) {
    for (const auto& [stored, expected] : {std::pair{kSaverBackgroundNone, BackgroundMode::None},
                                           std::pair{kSaverBackgroundFill, BackgroundMode::Fill}}) {
        SaverSettings settings = saverSettingsDefaults();
        settings.background = stored;
        DemoOptions options;
        saverSettingsApply(settings, &options);
        EXPECT_EQ(options.background, expected) << stored;
    }
}

// What the dialog stores is what the saver runs with and what its log line says.
TEST(SaverSettings, StoredViewAndRenewalReachTheDemoAndItsLog) {
    SaverSettings settings = saverSettingsDefaults();
    DemoOptions options;
    options.mode = WindowMode::Saver;
    saverSettingsApply(settings, &options);
    EXPECT_EQ(effectiveView(options), ViewMode::Follow);
    EXPECT_EQ(effectiveRenew(options), RenewMode::Auto);
    EXPECT_TRUE(saverSettingsDescribe(settings).ends_with(" view=follow renew=auto"));
    settings.view = kSaverViewFixed;
    settings.renew = kSaverRenewNever;
    saverSettingsApply(settings, &options);
    EXPECT_EQ(effectiveView(options), ViewMode::Fixed);
    EXPECT_EQ(effectiveRenew(options), RenewMode::Never);
    EXPECT_TRUE(saverSettingsDescribe(settings).ends_with(" view=fixed renew=never"));
}

} // namespace
