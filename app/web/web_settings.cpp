// The page's settings: parsed by the command line's own parsers, the panel's fields, the address
// and the page's local storage.
#include "app/web/web_settings.h"

#include <emscripten/emscripten.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/web/web_page.h"
#include "common/cli_args.h"
#include "common/settings_args.h"
#include "render/background_mode.h"

namespace {

constexpr const char* kSettingNames[] = {"bodies", "speed", "spray", "background",
                                         "fps",    "view",  "renew"};
constexpr size_t kTextSize = 64;
constexpr int kSpeedTextSize = 16;
constexpr unsigned long long kMaxFlag = 1;

bool isName(const char* name, const char* wanted) {
    return std::strcmp(name, wanted) == 0;
}

bool takeBackground(const char* text, PageSettings* settings) {
    BackgroundMode mode = BackgroundMode::Fill;
    if (std::strlen(text) >= kBackgroundNameSize || !backgroundModeFromName(text, &mode)) {
        return false;
    }
    std::strcpy(settings->background, text);
    return true;
}

bool takeFlag(const char* text, bool* out) {
    unsigned long long flag = 0;
    if (!parseUnsignedArg(text, kMaxFlag, &flag)) {
        return false;
    }
    *out = flag != 0;
    return true;
}

// The names the panel's choices carry, as viewModeFromName and renewModeFromName read them.
const char* viewName(ViewMode mode) {
    return mode == ViewMode::Fixed ? "fixed" : "follow";
}

const char* renewName(RenewMode mode) {
    return mode == RenewMode::Never ? "never" : "auto";
}

} // namespace

// clang-format off
EM_JS(int, jsPrefersReducedMotion, (), {
    return window.matchMedia("(prefers-reduced-motion: reduce)").matches ? 1 : 0;
});

// Remembered as one JSON record of texts by name; a page without storage (a private window, a
// blocked site) remembers nothing.
EM_JS(int, jsRememberedSetting, (const char* name, char* out, int size), {
    try {
        var kept = JSON.parse(localStorage.getItem("velmorin.settings") || "{}");
        var value = kept[UTF8ToString(name)];
        if (typeof value !== "string") {
            return 0;
        }
        stringToUTF8(value, out, size);
        return 1;
    } catch (error) {
        return 0;
    }
});

EM_JS(void, jsKeepSetting, (const char* name, const char* text), {
    var key = UTF8ToString(name);
    var value = UTF8ToString(text);
    var address = new URL(window.location.href);
    address.searchParams.set(key, value);
    history.replaceState(history.state, "", address);
    try {
        var kept = JSON.parse(localStorage.getItem("velmorin.settings") || "{}");
        kept[key] = value;
        localStorage.setItem("velmorin.settings", JSON.stringify(kept));
    } catch (error) {
        // nothing remembered: the address still holds the change
    }
});

EM_JS(void, jsShowSettings, (int minBodies, int maxBodies, int bodies, double minSpeed,
                             double maxSpeed, const char* speed, int maxSpray, int spray,
                             const char* background, int showFps, const char* view,
                             const char* renew), {
    var form = document.getElementById("settings");
    form.bodies.min = minBodies;
    form.bodies.max = maxBodies;
    form.bodies.value = bodies;
    form.speed.min = minSpeed;
    form.speed.max = maxSpeed;
    form.speed.value = UTF8ToString(speed);
    form.spray.max = maxSpray;
    form.spray.value = spray;
    form.background.value = UTF8ToString(background);
    form.fps.checked = showFps !== 0;
    form.view.value = UTF8ToString(view);
    form.renew.value = UTF8ToString(renew);
    showSettingValues();
});

EM_JS(int, jsPanelOpen, (), {
    return document.getElementById("settings").hidden ? 0 : 1;
});

EM_JS(void, jsSetPanelOpen, (int open), {
    setSettingsOpen(open !== 0); // the page's own, also behind the gear button
});
// clang-format on

bool pageSettingsTake(const char* name, const char* text, PageSettings* settings) {
    if (isName(name, "bodies")) {
        return parseBodiesArg(text, &settings->sim.bodies);
    }
    if (isName(name, "speed")) {
        return parseSpeedArg(text, &settings->sim.speed);
    }
    if (isName(name, "spray")) {
        return parseSprayArg(text, &settings->sim.spray);
    }
    if (isName(name, "background")) {
        return takeBackground(text, settings);
    }
    if (isName(name, "fps")) {
        return takeFlag(text, &settings->showFps);
    }
    if (isName(name, "view")) {
        return viewModeFromName(text, &settings->view);
    }
    if (isName(name, "renew")) {
        return renewModeFromName(text, &settings->renew);
    }
    return false;
}

PageSettings pageSettingsLoad(bool fixedSteps) {
    PageSettings settings;
    if (!fixedSteps && jsPrefersReducedMotion() != 0) {
        settings.sim.speed = kMinSpeed;
        settings.sim.spray = 0;
    }
    if (fixedSteps) {
        // The frames of a fixed-step address are those of the fixed demo unless it says otherwise.
        settings.view = ViewMode::Fixed;
        settings.renew = RenewMode::Never;
    }
    std::string refused;
    char text[kTextSize];
    // Each name once, from the defaults: a refused address value leaves its default.
    for (const char* name : kSettingNames) {
        if (webPageParam(name, text, sizeof text)) {
            if (!pageSettingsTake(name, text, &settings)) {
                refused += refused.empty() ? " " : ", ";
                refused += std::string(name) + "=" + text;
            }
        } else if (!fixedSteps && jsRememberedSetting(name, text, sizeof text) != 0) {
            // One no longer readable is passed over: its default stays.
            pageSettingsTake(name, text, &settings);
        }
    }
    if (!refused.empty()) {
        const std::string line =
            "Bad settings in the address, the defaults used instead:" + refused;
        webPageShowError(line.c_str());
    }
    return settings;
}

void pageSettingsShow(const PageSettings& settings) {
    char speed[kSpeedTextSize];
    std::snprintf(speed, sizeof speed, "%g", settings.sim.speed);
    jsShowSettings(static_cast<int>(kMinBodies), static_cast<int>(kMaxBodies),
                   static_cast<int>(settings.sim.bodies), kMinSpeed, kMaxSpeed, speed,
                   static_cast<int>(kMaxParticles), static_cast<int>(settings.sim.spray),
                   settings.background, settings.showFps ? 1 : 0, viewName(settings.view),
                   renewName(settings.renew));
}

void pageSettingsKeep(const char* name, const char* text) {
    jsKeepSetting(name, text);
}

bool pageSettingsPanelOpen() {
    return jsPanelOpen() != 0;
}

void pageSettingsSetPanelOpen(bool open) {
    jsSetPanelOpen(open ? 1 : 0);
}
