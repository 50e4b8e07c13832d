// A stand-in for the system's screensaver dialog, for the tests under Wine: it owns a window,
// starts the saver in it (the preview, or the settings owned by it) and reports what came of it.
//
//   scr_host SAVER preview|preview-colon   /p HWND or /p:HWND; prints "host WxH", "child WxH",
//                                          then closes its window and prints "exit N"
//   scr_host SAVER settings                /c:HWND; prints "dialog TITLE", "owner host|other",
//                                          presses OK and prints "exit N"
// Exit status 0 when each step happened in time, 1 (with the reason on stderr) otherwise.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr const char* kHostClass = "VelmorinScrHost";
constexpr const char* kSaverClass = "Velmorin"; // the class the saver registers
constexpr const char* kDialogClass = "#32770";  // the system's dialog class
constexpr int kHostClientWidth = 152;           // the size of the system's preview area
constexpr int kHostClientHeight = 112;
constexpr DWORD kStartTimeoutMs = 60000; // Wine and llvmpipe are slow to start on a busy machine
constexpr DWORD kEndTimeoutMs = 20000;
constexpr DWORD kPollMs = 50;

int failWith(const char* reason) {
    std::fprintf(stderr, "scr_host: %s\n", reason);
    return 1;
}

// Serves this thread's messages for up to timeoutMs, until found() says yes.
template <typename Found>
bool pumpUntil(DWORD timeoutMs, Found found) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!found()) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
        MSG message{};
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return true;
}

HWND createHostWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = kHostClass;
    RegisterClassA(&windowClass);
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    RECT frame{0, 0, kHostClientWidth, kHostClientHeight};
    AdjustWindowRect(&frame, style, FALSE);
    return CreateWindowExA(0, kHostClass, "Saver host", style, 40, 40, frame.right - frame.left,
                           frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
}

bool startSaver(const char* saverPath, const std::string& arguments, PROCESS_INFORMATION* process) {
    std::string commandLine = std::string("\"") + saverPath + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    return CreateProcessA(saverPath, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, process) != 0;
}

bool processEnded(HANDLE process) {
    return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

int reportExit(const PROCESS_INFORMATION& process) {
    if (!pumpUntil(kEndTimeoutMs, [&] { return processEnded(process.hProcess); })) {
        TerminateProcess(process.hProcess, 1);
        return failWith("the saver did not end");
    }
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    std::printf("exit %lu\n", status);
    return 0;
}

void printClientSize(const char* what, HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    std::printf("%s %ldx%ld\n", what, client.right - client.left, client.bottom - client.top);
}

int runPreview(const char* saverPath, bool colonForm) {
    HWND host = createHostWindow();
    if (host == nullptr) {
        return failWith("could not create the host window");
    }
    const std::string id = std::to_string(reinterpret_cast<uintptr_t>(host));
    PROCESS_INFORMATION process{};
    if (!startSaver(saverPath, colonForm ? "/p:" + id : "/p " + id, &process)) {
        return failWith("could not start the saver");
    }
    HWND child = nullptr;
    const bool shown = pumpUntil(kStartTimeoutMs, [&] {
        child = FindWindowExA(host, nullptr, kSaverClass, nullptr);
        return (child != nullptr && IsWindowVisible(child)) || processEnded(process.hProcess);
    });
    if (!shown || child == nullptr) {
        TerminateProcess(process.hProcess, 1);
        return failWith("no preview window appeared in the host");
    }
    DWORD childProcess = 0;
    GetWindowThreadProcessId(child, &childProcess);
    if (childProcess != process.dwProcessId) {
        return failWith("the child window is not the saver's");
    }
    // Frames run for a moment: the preview must still be there, not just have flashed up.
    pumpUntil(1000, [] { return false; });
    if (processEnded(process.hProcess)) {
        return failWith("the preview ended while its host was still open");
    }
    printClientSize("host", host);
    printClientSize("child", child);
    std::fflush(stdout);
    DestroyWindow(host); // as the dialog does when it closes or shows another saver
    return reportExit(process);
}

struct BoxSearch {
    DWORD processId;
    HWND box;
};

BOOL CALLBACK findSaverBox(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<BoxSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && std::strcmp(className, kDialogClass) == 0 &&
        IsWindowVisible(window)) {
        search->box = window;
        return FALSE;
    }
    return TRUE;
}

int runSettings(const char* saverPath) {
    HWND host = createHostWindow();
    if (host == nullptr) {
        return failWith("could not create the host window");
    }
    PROCESS_INFORMATION process{};
    const std::string id = std::to_string(reinterpret_cast<uintptr_t>(host));
    if (!startSaver(saverPath, "/c:" + id, &process)) {
        return failWith("could not start the saver");
    }
    BoxSearch search{process.dwProcessId, nullptr};
    if (!pumpUntil(kStartTimeoutMs,
                   [&] {
                       EnumWindows(findSaverBox, reinterpret_cast<LPARAM>(&search));
                       return search.box != nullptr || processEnded(process.hProcess);
                   }) ||
        search.box == nullptr) {
        TerminateProcess(process.hProcess, 1);
        return failWith("no settings dialog appeared");
    }
    char title[128] = {};
    GetWindowTextA(search.box, title, sizeof title);
    std::printf("dialog %s\n", title);
    std::printf("owner %s\n", GetWindow(search.box, GW_OWNER) == host ? "host" : "other");
    std::fflush(stdout);
    PostMessageA(search.box, WM_COMMAND, IDOK, 0); // as a click on OK does
    const int result = reportExit(process);
    DestroyWindow(host);
    return result;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        return failWith("usage: scr_host SAVER preview|preview-colon|settings");
    }
    const std::string mode = argv[2];
    if (mode == "preview" || mode == "preview-colon") {
        return runPreview(argv[1], mode == "preview-colon");
    }
    if (mode == "settings") {
        return runSettings(argv[1]);
    }
    return failWith("unknown mode");
}
