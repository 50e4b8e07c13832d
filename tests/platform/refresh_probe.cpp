// A small window through the platform layer that prints the refresh rate of the display it is
// on, in Hz, once shown and again whenever the answer changes, as when the window is moved.
#include <cstdio>

#include "platform/platform.h"

namespace {
constexpr int kRunMs = 30000; // time enough for the test to move the window on a shared machine
constexpr int kPollMs = 100;

void printRate(int hz) {
    std::printf("%d\n", hz);
    std::fflush(stdout);
}
} // namespace

int main() {
    PlatformWindowConfig config;
    config.title = "refresh probe";
    config.width = 200;
    config.height = 150;
    if (!platformInit(PlatformVideo::Display) || !platformCreateWindowWith(config)) {
        return 1;
    }
    platformShowWindow();
    int printed = platformRefreshRate();
    printRate(printed);
    for (int waited = 0; waited < kRunMs; waited += kPollMs) {
        // Waiting takes in the window's moves too, which SDL reports as no event of ours.
        PlatformEvent event;
        if (platformWaitEvent(&event, kPollMs) && event.type == PlatformEventType::Close) {
            break;
        }
        if (platformRefreshRate() != printed) {
            printed = platformRefreshRate();
            printRate(printed);
        }
    }
    platformShutdown();
    return 0;
}
