// The Win32 backend's own rules, run under Windows (or Wine): the window procedure's creation,
// frame, key and teardown handling, and the exit signals' hand-off to the window's thread.
#include <windows.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <io.h>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/exit_handlers.h"
#include "app/shell.h"
#include "app/win32/win32_exit_signals.h"
#include "app/win32/win32_graphics.h"
#include "app/win32/win32_window.h"
#include "render/error_report.h"
#include "render/frame.h"
#include "render/frame_clock.h"
#include "sim/body.h"
#include "sim/scene.h"
#include "sim/spray.h"
#include "sim/world.h"

namespace {

constexpr const char* kTestClassName = "VelmorinTest";
constexpr int kAbortStatus = 3; // what the C runtime's abort() ends a process with

std::vector<std::string> reportedErrors;

void recordError(const char* text) {
    reportedErrors.emplace_back(text);
}

// The notice goes to standard output; death tests can only match standard error.
void sendStdoutToStderr() {
    std::fflush(stdout);
    _dup2(_fileno(stderr), _fileno(stdout));
}

bool takeQuitMessage(WPARAM* exitCode) {
    MSG message{};
    if (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) == 0) {
        return false;
    }
    *exitCode = message.wParam;
    return true;
}

// First of all tests, while no window, context or palette has ever existed in this process.
TEST(Win32Teardown, HarmlessBeforeAnythingExisted) {
    teardownGraphics();
    WPARAM exitCode = 1;
    ASSERT_TRUE(takeQuitMessage(&exitCode));
    EXPECT_EQ(exitCode, 0u);
}

// The demo's window, made as WinMain makes it, but with errors recorded instead of shown (the
// test runs without bitmap/, so every picture fails to load).
class DemoWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        reportedErrors.clear();
        setErrorReporter(recordError);
        WNDCLASSA windowClass{};
        windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kTestClassName;
        RegisterClassA(&windowClass); // fails harmlessly when an earlier test registered it
        // Uncapped: each paint draws at once, where a capped one may wait and give way to a
        // message; the cap has cases of its own.
        DemoOptions options;
        options.noVsync = true;
        windowUseOptions(options);
        win32State()->window = CreateWindowExA(
            0, kTestClassName, kWindowTitle, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
            kScreenWidth, kScreenHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(win32State()->window, nullptr);
    }

    void TearDown() override {
        if (win32State()->window != nullptr && IsWindow(win32State()->window)) {
            DestroyWindow(win32State()->window);
        }
        win32State()->window = nullptr;
        WPARAM ignored = 0;
        while (takeQuitMessage(&ignored)) {
        }
        worldReset();
        frameTimingReset();
        setErrorReporter(nullptr);
    }
};

TEST_F(DemoWindow, CreationMakesTheContextAndTheScene) {
    EXPECT_NE(win32State()->deviceContext, nullptr);
    EXPECT_NE(win32State()->glContext, nullptr);
    EXPECT_EQ(wglGetCurrentContext(), win32State()->glContext);
    EXPECT_EQ(win32State()->palette, nullptr); // a true-colour display needs none
    EXPECT_EQ(gravityListCount(&bodies), kBodyCount);
    // The background and each body's picture were asked for, and each failure reported.
    EXPECT_EQ(reportedErrors.size(), 1u + kBodyCount);
    EXPECT_EQ(win32State()->clientRect.left, 0);
    EXPECT_EQ(win32State()->clientRect.top, 0);
    EXPECT_EQ(win32State()->clientRect.right, kScreenWidth);
    EXPECT_EQ(win32State()->clientRect.bottom, kScreenHeight);
}

TEST_F(DemoWindow, EachPaintDrawsOneFrameAndAsksForTheNext) {
    ShowWindow(win32State()->window, SW_SHOW);
    // A steady 16 ms a frame, so that a slow first paint is not taken for a pause, which would
    // leave the count alone.
    frameClockSetSource([]() -> uint32_t {
        static uint32_t now = 1000;
        return now += 16;
    });
    const int64_t framesBefore = frameCount;
    // UpdateWindow paints only while part of the window is invalid: every frame must leave the
    // whole client area invalid again, or the second call would draw nothing.
    UpdateWindow(win32State()->window);
    EXPECT_EQ(frameCount, framesBefore + 1);
    RECT pending{};
    EXPECT_NE(GetUpdateRect(win32State()->window, &pending, FALSE), 0);
    EXPECT_EQ(pending.right - pending.left, kScreenWidth);
    EXPECT_EQ(pending.bottom - pending.top, kScreenHeight);
    UpdateWindow(win32State()->window);
    EXPECT_EQ(frameCount, framesBefore + 2);
    frameClockSetSource(nullptr);
}

TEST_F(DemoWindow, ScreenSaverIsSwallowedAndPaletteMessagesAreQuiet) {
    EXPECT_EQ(SendMessageA(win32State()->window, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
    EXPECT_EQ(SendMessageA(win32State()->window, WM_QUERYNEWPALETTE, 0, 0), 0);
    EXPECT_EQ(SendMessageA(win32State()->window, WM_PALETTECHANGED, 0, 0), 0);
    EXPECT_TRUE(IsWindow(win32State()->window));
}

TEST_F(DemoWindow, DestructionReleasesEverythingOnceAndEndsTheLoop) {
    DestroyWindow(win32State()->window);
    EXPECT_EQ(win32State()->glContext, nullptr);
    EXPECT_EQ(win32State()->deviceContext, nullptr);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    WPARAM exitCode = 1;
    ASSERT_TRUE(takeQuitMessage(&exitCode));
    EXPECT_EQ(exitCode, 0u);
    // The exit cleanup runs it again: nothing is left to release, the loop is told again.
    teardownGraphics();
    EXPECT_TRUE(takeQuitMessage(&exitCode));
}

TEST_F(DemoWindow, EscapeEndsTheProcessWithStatusZero) {
    EXPECT_EXIT(SendMessageA(win32State()->window, WM_KEYDOWN, VK_ESCAPE, 0),
                ::testing::ExitedWithCode(0), "");
}

TEST_F(DemoWindow, OtherKeysDoNothing) {
    for (const WPARAM key : std::initializer_list<WPARAM>{VK_SPACE, VK_RETURN, VK_LEFT, VK_UP,
                                                          VK_RIGHT, VK_DOWN, WPARAM{'A'}}) {
        EXPECT_EQ(SendMessageA(win32State()->window, WM_KEYDOWN, key, 0), 0);
    }
    EXPECT_TRUE(IsWindow(win32State()->window));
}

TEST(Win32ExitSignals, RaisedOnTheWindowThreadIsOnlyRecordedAndCountedEachTime) {
    EXPECT_EXIT(
        {
            installExitHandlers();
            std::raise(SIGTERM);
            if (!exitSignalPending() || signalCount != 1) {
                std::_Exit(3);
            }
            std::raise(SIGTERM); // the handler is back in place after the first
            if (signalCount != 2) {
                std::_Exit(4);
            }
            sendStdoutToStderr();
            exitOnPendingSignal();
            std::_Exit(5);
        },
        ::testing::ExitedWithCode(0),
        "\n\\[dtest_exit_signal_handler\\] received INT/TERM signal 15 \\[2 times\\], exiting");
}

TEST(Win32ExitSignals, SignalFromAnotherThreadWakesTheWindowThread) {
    EXPECT_EXIT(
        {
            installExitHandlers();
            HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                          GetModuleHandleA(nullptr), nullptr);
            if (window == nullptr) {
                std::_Exit(3);
            }
            exitSignalSetWindow(window);
            // As a console event does: the handler runs on a thread that is not the window's,
            // and must not return before the window's thread has ended the process.
            std::thread consoleThread([] { std::raise(SIGINT); });
            consoleThread.detach();
            MSG message{};
            while (GetMessageA(&message, nullptr, 0, 0) > 0) {
                if (message.hwnd == window && message.message == kExitSignalMessage) {
                    break;
                }
            }
            if (!exitSignalPending() || signalCount != 1) {
                std::_Exit(4);
            }
            sendStdoutToStderr();
            exitOnPendingSignal();
            std::_Exit(5);
        },
        ::testing::ExitedWithCode(0), "received INT/TERM signal 2 \\[1 times\\], exiting");
}

TEST(Win32ExitSignals, OwnAbortStillEndsAsACrash) {
    EXPECT_EXIT(
        {
            installExitHandlers();
            std::abort();
        },
        ::testing::ExitedWithCode(kAbortStatus), "");
}

TEST(Win32ExitSignals, CleanupRunsOnce) {
    EXPECT_EXIT(
        {
            installExitHandlers();
            createScene(); // bodies with sprays: a second cleanup would free them twice
            for (uint32_t i = 0; i < gravityListCount(&bodies); i++) {
                updateSpray(gravityListGet(&bodies, i), 0.01);
            }
            onProcessExit();
            WPARAM exitCode = 1;
            if (!exitCleanupDone || !takeQuitMessage(&exitCode)) {
                std::_Exit(3);
            }
            onProcessExit();
            // Wine's heap lets a double free pass unnoticed, but a second teardown posts a
            // second quit message.
            if (takeQuitMessage(&exitCode)) {
                std::_Exit(4);
            }
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
