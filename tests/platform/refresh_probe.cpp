// A small window through the platform layer that prints the refresh rate of the display it is
// on, in Hz, once shown and again whenever the platform says it moved to another display, the
// event on which the demo sets its frame cap again.
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
    printRate(platformRefreshRate());
    for (int waited = 0; waited < kRunMs; waited += kPollMs) {
        PlatformEvent event;
        if (!platformWaitEvent(&event, kPollMs)) {
            continue;
        }
        if (event.type == PlatformEventType::Close) {
            break;
        }
        if (event.type == PlatformEventType::DisplayChanged) {
            printRate(platformRefreshRate());
        }
    }
    platformShutdown();
    return 0;
}
