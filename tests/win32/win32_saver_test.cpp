// The screensaver's window rules, run under Windows (or Wine): what ends the full-screen saver,
// what the preview leaves to the dialog around it, and the preview's end with its parent.
#include <windows.h>

#include <cstdlib>
#include <initializer_list>

#include <gtest/gtest.h>

#include "app/win32/win32_graphics.h"
#include "app/win32/win32_saver.h"
#include "render/error_report.h"
#include "render/frame.h"
#include "sim/world.h"

namespace {

constexpr const char* kSaverTestClass = "VelmorinSaverTest";
constexpr int kStillRunning = 7; // a death test's own status: the process was not ended
constexpr DWORD kParentWatchWaitMs = 3000;

void ignoreError(const char* /*text*/) {}

bool takeCloseRequest(HWND window) {
    MSG message{};
    return PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0;
}

bool takeQuitMessage() {
    MSG message{};
    return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(win32State()->window, message, wParam, lParam);
}

// The saver's window as WinMain makes it, small, with picture errors ignored (the tests run
// where there are no pictures).
class SaverWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        setErrorReporter(ignoreError);
        WNDCLASSA windowClass{};
        windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = saverWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kSaverTestClass;
        RegisterClassA(&windowClass); // fails harmlessly when an earlier test registered it
    }

    void createSaver(bool preview, HWND parentWindow, HWND watchedParent) {
        saverUseRole(preview, watchedParent);
        win32State()->window = CreateWindowExA(
            0, kSaverTestClass, "Velmorin", (preview ? WS_CHILD : WS_POPUP) | WS_CLIPCHILDREN, 0, 0,
            64, 48, parentWindow, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(win32State()->window, nullptr);
    }

    HWND createParent() {
        parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 64, 48, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        return parent;
    }

    void TearDown() override {
        for (HWND window : {win32State()->window, parent}) {
            if (window != nullptr && IsWindow(window)) {
                DestroyWindow(window);
            }
        }
        win32State()->window = nullptr;
        parent = nullptr;
        while (takeQuitMessage()) {
        }
        worldReset();
        frameTimingReset();
        setErrorReporter(nullptr);
    }

    HWND parent = nullptr;
};

TEST_F(SaverWindow, FullScreenEndsOnAnyKeyButtonOrWheel) {
    createSaver(false, nullptr, nullptr);
    for (const UINT message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN,
                               WM_MBUTTONDOWN, WM_XBUTTONDOWN, WM_MOUSEWHEEL}) {
        saverUseRole(false, nullptr);
        send(message, 'A');
        EXPECT_TRUE(takeCloseRequest(win32State()->window)) << "message " << message;
    }
}

TEST_F(SaverWindow, FullScreenIgnoresTheFirstMoveAndJitter) {
    createSaver(false, nullptr, nullptr);
    send(WM_MOUSEMOVE, 0, MAKELPARAM(200, 100)); // where the pointer was when the window came
    send(WM_MOUSEMOVE, 0, MAKELPARAM(203, 97));
    EXPECT_FALSE(takeCloseRequest(win32State()->window));
    send(WM_MOUSEMOVE, 0, MAKELPARAM(210, 100));
    EXPECT_TRUE(takeCloseRequest(win32State()->window));
    send(WM_MOUSEMOVE, 0, MAKELPARAM(300, 300));
    EXPECT_FALSE(takeCloseRequest(win32State()->window)); // asked once only
}

TEST_F(SaverWindow, FullScreenEndsWhenAnotherWindowComesToTheFront) {
    createSaver(false, nullptr, nullptr);
    send(WM_ACTIVATE, WA_ACTIVE);
    send(WM_ACTIVATEAPP, TRUE);
    EXPECT_FALSE(takeCloseRequest(win32State()->window));
    send(WM_ACTIVATE, WA_INACTIVE);
    EXPECT_TRUE(takeCloseRequest(win32State()->window));
    saverUseRole(false, nullptr);
    send(WM_ACTIVATEAPP, FALSE);
    EXPECT_TRUE(takeCloseRequest(win32State()->window));
}

TEST_F(SaverWindow, FullScreenShowsNoPointer) {
    createSaver(false, nullptr, nullptr);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(send(WM_SETCURSOR, reinterpret_cast<WPARAM>(win32State()->window), HTCLIENT), TRUE);
    EXPECT_EQ(GetCursor(), nullptr);
}

TEST_F(SaverWindow, PreviewLeavesInputAndActivationToTheDialog) {
    createSaver(true, createParent(), parent);
    send(WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    send(WM_MOUSEMOVE, 0, MAKELPARAM(60, 40));
    send(WM_LBUTTONDOWN);
    send(WM_ACTIVATEAPP, FALSE);
    EXPECT_FALSE(takeCloseRequest(win32State()->window));
    EXPECT_TRUE(IsWindow(win32State()->window));
    // Escape in the dialog must not end the process, as it ends the demo.
    EXPECT_EXIT(
        {
            send(WM_KEYDOWN, VK_ESCAPE);
            std::_Exit(kStillRunning);
        },
        ::testing::ExitedWithCode(kStillRunning), "");
}

TEST_F(SaverWindow, PreviewEndsWithItsParent) {
    createSaver(true, createParent(), parent);
    DestroyWindow(parent);
    EXPECT_FALSE(IsWindow(win32State()->window));
    EXPECT_EQ(win32State()->glContext, nullptr);
    EXPECT_TRUE(takeQuitMessage());
}

// A parent that goes without taking the preview along (its process killed) is noticed too.
TEST_F(SaverWindow, PreviewEndsWhenTheWatchedParentVanishes) {
    HWND vanished = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    createSaver(true, createParent(), vanished);
    DestroyWindow(vanished);
    const ULONGLONG deadline = GetTickCount64() + kParentWatchWaitMs;
    MSG message{};
    while (IsWindow(win32State()->window) && GetTickCount64() < deadline) {
        // Only the timer: frames would keep the queue busy and are not what is tested.
        if (PeekMessageA(&message, win32State()->window, WM_TIMER, WM_TIMER, PM_REMOVE)) {
            DispatchMessageA(&message);
        } else {
            Sleep(10);
        }
    }
    EXPECT_FALSE(IsWindow(win32State()->window));
    EXPECT_TRUE(takeQuitMessage());
}

} // namespace
