// The shell's own rules: key translation, Escape, the once-only cleanup, signals between frames.
#include <csignal>
#include <cstdlib>

#include <SDL2/SDL_events.h>
#include <SDL2/SDL_keycode.h>
#include <gtest/gtest.h>

#include "app/exit_handlers.h"
#include "app/linux/linux_window.h"
#include "platform/sdl/platform_sdl_keys.h"
#include "render/frame_clock.h"
#include "render/frame_timing.h"
#include "sim/scene.h"
#include "sim/spray.h"
#include "sim/world.h"

namespace {

TEST(SdlKeys, OnlyEscapeBecomes27) {
    EXPECT_EQ(translateSdlKey(SDLK_ESCAPE), 27);
    EXPECT_EQ(translateSdlKey(SDLK_SPACE), 32);
    EXPECT_EQ(translateSdlKey(SDLK_RETURN), 13);
    EXPECT_EQ(translateSdlKey(SDLK_LEFT), 37);
    EXPECT_EQ(translateSdlKey(SDLK_DOWN), 40);
    // Key codes built from scan codes carry a high flag; masked to 8 bits, scan code 27 (X)
    // plus the flag, or any code ending in 0x1B, would read as Escape.
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; scancode++) {
        const int keycode = SDL_SCANCODE_TO_KEYCODE(scancode);
        if (keycode != SDLK_ESCAPE) {
            EXPECT_NE(translateSdlKey(keycode) & 0xFF, 27) << scancode;
        }
    }
}

TEST(HandleKeyDown, EscapeEndsTheProcessWithStatusZero) {
    EXPECT_EXIT(handleKeyDown(27), ::testing::ExitedWithCode(0), "");
    // Only the low 8 bits are compared.
    EXPECT_EXIT(handleKeyDown(0x11B), ::testing::ExitedWithCode(0), "");
}

TEST(HandleKeyDown, OtherKeysDoNothing) {
    // Had any of them exited, the status would be 0, not the 7 reached after the loop.
    EXPECT_EXIT(
        {
            for (int key : {0, 13, 32, 37, 38, 39, 40, 65, 0x11C}) {
                handleKeyDown(key);
            }
            std::_Exit(7);
        },
        ::testing::ExitedWithCode(7), "");
}

TEST(Teardown, HarmlessBeforeAnythingExistsAndWhenRepeated) {
    teardownGraphics();
    teardownGraphics();
    EXPECT_TRUE(windowQuitRequested());
}

TEST(ExitSignals, SignalIsOnlyRecordedUntilTheLoopActs) {
    EXPECT_EXIT(
        {
            installExitHandlers();
            std::raise(SIGTERM); // raised by the process itself, but only SIGABRT is special
            if (!exitSignalPending() || signalCount != 1) {
                std::_Exit(3);
            }
            exitOnPendingSignal();
            std::_Exit(4);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(ExitSignals, OwnAbortStillEndsAsACrash) {
    EXPECT_EXIT(
        {
            installExitHandlers();
            std::abort();
        },
        ::testing::KilledBySignal(SIGABRT), "");
}

TEST(ExitSignals, CleanupRunsOnce) {
    EXPECT_EXIT(
        {
            installExitHandlers();
            createScene(); // bodies with sprays: a second cleanup would free them twice
            for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
                updateSpray(gravityListGet(&bodies, i), 0.01);
            }
            onProcessExit();
            if (!exitCleanupDone) {
                std::_Exit(3);
            }
            onProcessExit(); // the second call must return at once
            std::exit(0);    // and the atexit run after it too
        },
        ::testing::ExitedWithCode(0), "");
}

// The event SDL reports for one change of the window, as the shell gets it.
PlatformEvent windowEventFromSdl(SDL_WindowEventID change) {
    SDL_Event sdlEvent{};
    sdlEvent.type = SDL_WINDOWEVENT;
    sdlEvent.window.event = static_cast<Uint8>(change);
    SDL_PushEvent(&sdlEvent);
    // A poll ends at the marker SDL leaves where the previous poll emptied the queue.
    PlatformEvent event;
    const bool polled = platformPollEvent(&event) || platformPollEvent(&event);
    EXPECT_TRUE(polled) << "SDL window event " << change;
    return event;
}

uint32_t clockMs = 0;
uint32_t readClock() {
    return clockMs;
}

// Minimised or unmapped, the window draws nothing; shown again, however briefly it was away,
// the interval across the gap stays out of the mean.
TEST(WindowVisibility, HiddenOrMinimisedRestsAndTheGapStaysOut) {
    ASSERT_TRUE(platformInit(PlatformVideo::Offscreen));
    frameClockSetSource(readClock);
    const SDL_WindowEventID changes[2][2] = {{SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_RESTORED},
                                             {SDL_WINDOWEVENT_HIDDEN, SDL_WINDOWEVENT_SHOWN}};
    for (const auto& change : changes) {
        frameTimingReset();
        clockMs = 1000;
        frameTimingNextDt();
        clockMs += 16;
        frameTimingNextDt();
        windowHandleEvent(windowEventFromSdl(change[0]));
        EXPECT_TRUE(windowHidden()) << change[0];
        windowHandleEvent(windowEventFromSdl(change[1]));
        EXPECT_FALSE(windowHidden()) << change[1];
        clockMs += 100; // too short to look like a pause by itself
        frameTimingNextDt();
        EXPECT_EQ(frameCount, 2) << change[1];
    }
    frameClockSetSource(nullptr);
    frameTimingReset();
    platformShutdown();
}

} // namespace
