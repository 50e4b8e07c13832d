// The screensaver's stored settings: their ranges and defaults, taken from the demo's own, and
// the rule that makes any stored value usable.
#include "app/win32/win32_saver_settings.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* kBackgroundNames[kSaverBackgroundCount] = {"fill", "none"};
constexpr const char* kViewNames[kSaverViewCount] = {"follow", "fixed"};
constexpr const char* kRenewNames[kSaverRenewCount] = {"auto", "never"};
constexpr SimSettings kSimDefaults{};
constexpr uint32_t kDefaultSpeedPercent =
    static_cast<uint32_t>(kSimDefaults.speed * kSpeedPercentScale);

} // namespace

const SaverSettingRule kSaverSettingRules[] = {
    {"Bodies", &SaverSettings::bodies, kMinBodies, kMaxBodies, kSimDefaults.bodies, true},
    {"SpeedPercent", &SaverSettings::speedPercent, kMinSpeedPercent, kMaxSpeedPercent,
     kDefaultSpeedPercent, true},
    {"Spray", &SaverSettings::spray, 0, kMaxParticles, kSimDefaults.spray, true},
    {"Background", &SaverSettings::background, 0, kSaverBackgroundCount - 1, kSaverBackgroundFill,
     false},
    {"ShowFps", &SaverSettings::showFps, 0, 1, 0, true},
    {"MaxFps", &SaverSettings::maxFps, 0, kMaxFpsLimit, kSaverDefaultMaxFps, true},
    {"View", &SaverSettings::view, 0, kSaverViewCount - 1, kSaverViewFollow, false},
    {"Renew", &SaverSettings::renew, 0, kSaverRenewCount - 1, kSaverRenewAuto, false},
};
const size_t kSaverSettingRuleCount = sizeof kSaverSettingRules / sizeof kSaverSettingRules[0];

SaverSettings saverSettingsDefaults() {
    SaverSettings settings{};
    for (size_t i = 0; i < kSaverSettingRuleCount; i++) {
        settings.*kSaverSettingRules[i].field = kSaverSettingRules[i].fallback;
    }
    return settings;
}

uint32_t saverSettingsReadValue(const SaverSettingRule& rule, SaverStored stored, uint32_t value) {
    if (stored != SaverStored::Dword) {
        return rule.fallback;
    }
    if (value >= rule.min && value <= rule.max) {
        return value;
    }
    return rule.clamps ? std::clamp(value, rule.min, rule.max) : rule.fallback;
}

void saverSettingsApply(const SaverSettings& settings, DemoOptions* options) {
    options->sim.bodies = settings.bodies;
    options->sim.speed = static_cast<double>(settings.speedPercent) / kSpeedPercentScale;
    options->sim.spray = settings.spray;
    options->showFps = settings.showFps != 0;
    options->maxFpsGiven = true;
    options->maxFps = settings.maxFps;
    win32ApplyBackgroundSetting(settings.background, options);
    // Anything but the fixed view follows, anything but never renews, as the defaults do.
    options->viewGiven = true;
    options->view = settings.view == kSaverViewFixed ? ViewMode::Fixed : ViewMode::Follow;
    options->renewGiven = true;
    options->renew = settings.renew == kSaverRenewNever ? RenewMode::Never : RenewMode::Auto;
}

void win32ApplyBackgroundSetting(uint32_t background, DemoOptions* options) {
    options->backgroundGiven = true;
    options->background =
        background == kSaverBackgroundNone ? BackgroundMode::None : BackgroundMode::Fill;
}

const char* saverBackgroundName(uint32_t background) {
    return background < kSaverBackgroundCount ? kBackgroundNames[background] : "?";
}

std::string saverSettingsDescribe(const SaverSettings& settings) {
    char line[200];
    std::snprintf(line, sizeof line,
                  "velmorin: bodies=%u speed=%g spray=%u background=%s max-fps=%u fps=%s "
                  "view=%s renew=%s",
                  static_cast<unsigned>(settings.bodies),
                  static_cast<double>(settings.speedPercent) / kSpeedPercentScale,
                  static_cast<unsigned>(settings.spray), saverBackgroundName(settings.background),
                  static_cast<unsigned>(settings.maxFps), settings.showFps != 0 ? "on" : "off",
                  settings.view < kSaverViewCount ? kViewNames[settings.view] : "?",
                  settings.renew < kSaverRenewCount ? kRenewNames[settings.renew] : "?");
    return line;
}
