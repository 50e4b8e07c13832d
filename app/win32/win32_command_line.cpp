// The Windows program's command line: the demo's options through the portable parser, the
// screensaver's through its own, and the console a GUI program must borrow to answer --help.
#include "app/win32/win32_command_line.h"

#include <cstdio>
#include <cstring>

#include "app/win32/win32_scr_args.h"

namespace {

// Long paths are not expected for the program itself; a truncated one counts as unknown.
constexpr DWORD kModulePathSize = MAX_PATH * 4;

std::string executablePath() {
    char path[kModulePathSize] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, kModulePathSize);
    if (length == 0 || length >= kModulePathSize) {
        return "";
    }
    return std::string(path, length);
}

bool streamLeadsSomewhere(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// A GUI program starts without a console. When its output is not redirected, it is written to
// the console of whoever started it, if there is one; with none it goes nowhere.
void borrowParentConsole() {
    const bool outputUsable = streamLeadsSomewhere(STD_OUTPUT_HANDLE);
    const bool errorUsable = streamLeadsSomewhere(STD_ERROR_HANDLE);
    if ((outputUsable && errorUsable) || !AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    if (!outputUsable) {
        std::freopen("CONOUT$", "w", stdout);
    }
    if (!errorUsable) {
        std::freopen("CONOUT$", "w", stderr);
    }
}

int answerDemoCommandLine(OptionsVerdict verdict, const DemoOptions& options) {
    switch (verdict) {
    case OptionsVerdict::Help:
        borrowParentConsole();
        std::fputs(kHelpText, stdout);
        return 0;
    case OptionsVerdict::Version:
        borrowParentConsole();
        std::printf("%s\n", kVersionText);
        return 0;
    case OptionsVerdict::BadUsage:
        break;
    case OptionsVerdict::Run:
        // Windows has no window of another program to draw into on request, nor a desktop
        // background or a blanker to be started by an idle tool: the screensaver's own command
        // line (velmorin.scr) takes those places. Nor is there a settings file: the screensaver
        // keeps its settings in the registry, and the program takes its own from the command line.
        if (options.mode != WindowMode::Saver && options.mode != WindowMode::Wallpaper &&
            options.mode != WindowMode::StandaloneSaver && options.configFile == nullptr) {
            return -1;
        }
        break;
    }
    borrowParentConsole();
    std::fputs(kUsageLine, stderr);
    return kUsageStatus;
}

// A window id from the system that names no window is as unreadable as a malformed one.
HWND existingWindow(uint64_t id) {
    const HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(id));
    return id != 0 && IsWindow(window) ? window : nullptr;
}

void readScrCommandLine(int argc, const char* const* argv, Win32Launch* launch) {
    const ScrCommand command = parseScrCommand(argc, argv);
    launch->options = DemoOptions{};
    // The saver's frame cap, and the background filling whatever screen or preview it gets.
    launch->options.mode = WindowMode::Saver;
    launch->hostWindow = existingWindow(command.window);
    const bool idUnusable = command.window != 0 && launch->hostWindow == nullptr;
    switch (command.action) {
    case ScrAction::Saver:
        launch->role = Win32Role::Saver;
        break;
    case ScrAction::Preview:
        launch->role = idUnusable ? Win32Role::Nothing : Win32Role::Preview;
        break;
    case ScrAction::Settings:
        launch->role = idUnusable ? Win32Role::Nothing : Win32Role::Settings;
        break;
    case ScrAction::Nothing:
        launch->role = Win32Role::Nothing;
        break;
    }
}

} // namespace

int win32ReadCommandLine(int argc, const char* const* argv, Win32Launch* launch) {
    *launch = Win32Launch{};
    // The name decides, as it does for Windows: the same program copied or renamed to .scr is the
    // saver, and runs as one from the control panel without any other set-up.
    if (isScrProgramPath(executablePath().c_str())) {
        readScrCommandLine(argc, argv, launch);
        return -1;
    }
    // Windows sets no screensaver variable: no host window can come from the environment.
    const OptionsVerdict verdict = parseDemoOptions(argc, argv, nullptr, &launch->options);
    return answerDemoCommandLine(verdict, launch->options);
}

bool win32RoleIsSaver(Win32Role role) {
    return role == Win32Role::Saver || role == Win32Role::Preview;
}

std::string win32ExecutableDir() {
    const std::string path = executablePath();
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? "" : path.substr(0, separator);
}
