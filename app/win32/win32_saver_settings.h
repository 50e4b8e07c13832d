// The screensaver's stored settings: one DWORD each in the registry, the rule that turns whatever
// is found there into a usable value, and how they reach the demo's options.
#pragma once

#include <cstdint>
#include <string>

#include "app/options.h"

// The speed is kept as a whole percentage, since the registry keeps whole numbers only.
inline constexpr uint32_t kSpeedPercentScale = 100;
inline constexpr uint32_t kMinSpeedPercent = static_cast<uint32_t>(kMinSpeed * kSpeedPercentScale);
inline constexpr uint32_t kMaxSpeedPercent = static_cast<uint32_t>(kMaxSpeed * kSpeedPercentScale);

// The Background value: 0 draws the background picture, 1 leaves the scene on black.
enum SaverBackground : uint32_t {
    kSaverBackgroundFill = 0,
    kSaverBackgroundNone = 1,
    kSaverBackgroundCount,
};

// The View value: 0 widens the view to keep the spheres in sight, 1 keeps it fixed.
enum SaverView : uint32_t {
    kSaverViewFollow = 0,
    kSaverViewFixed = 1,
    kSaverViewCount,
};

// The Renew value: 0 starts a new scene once the spheres have flown apart, 1 never does.
enum SaverRenew : uint32_t {
    kSaverRenewAuto = 0,
    kSaverRenewNever = 1,
    kSaverRenewCount,
};

struct SaverSettings {
    uint32_t bodies;
    uint32_t speedPercent;
    uint32_t spray;
    uint32_t background; // a SaverBackground
    uint32_t showFps;    // 0 or 1
    uint32_t maxFps;     // 0: no cap
    uint32_t view;       // a SaverView
    uint32_t renew;      // a SaverRenew
};

// What a registry value was found to be.
enum class SaverStored {
    Absent,
    Dword,
    OtherType, // a string, a QWORD, a DWORD of the wrong size...
};

// One value of the record and its name under the saver's key.
struct SaverSettingRule {
    const char* name;
    uint32_t SaverSettings::*field;
    uint32_t min;
    uint32_t max;
    uint32_t fallback;
    // A number out of range is taken to the nearer end; a choice out of range is not a
    // neighbouring choice, so it falls back.
    bool clamps;
};

inline constexpr const char* kSaverRegistryKey = "Software\\Velmorin";
extern const SaverSettingRule kSaverSettingRules[];
extern const size_t kSaverSettingRuleCount;

SaverSettings saverSettingsDefaults();
// Never refuses: an absent value or one of another type gives the default, a DWORD out of range
// is brought into range.
uint32_t saverSettingsReadValue(const SaverSettingRule& rule, SaverStored stored, uint32_t value);
// The saver's options: the defaults of a saver, with the stored settings in force.
void saverSettingsApply(const SaverSettings& settings, DemoOptions* options);
// The stored choice as the demo's background option; anything but none fills.
void win32ApplyBackgroundSetting(uint32_t background, DemoOptions* options);
const char* saverBackgroundName(uint32_t background);
// "velmorin: bodies=12 speed=1 spray=40 background=fill max-fps=60 fps=off view=follow
// renew=auto"
std::string saverSettingsDescribe(const SaverSettings& settings);
