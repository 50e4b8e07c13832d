// The command line Windows gives a screensaver (.scr): what the system asks the saver to do.
#pragma once

#include <cstdint>

enum class ScrAction {
    Saver,    // /s: full screen until the user stirs
    Preview,  // /p HWND: a child window filling the given window
    Settings, // /c, /c:HWND, or no argument: the settings dialog
    Nothing,  // /a (password change, not ours), or a command line that cannot be read: just end
};

struct ScrCommand {
    ScrAction action = ScrAction::Nothing;
    uint64_t window = 0; // Preview: the parent; Settings: the owner, 0 for none
};

// Reads argv[1..]: "/x", "-x", "/x:ID" or "/x ID", letters in either case, ids in decimal.
// Anything unreadable (an unknown letter, a missing, malformed or zero id, extra arguments)
// gives Nothing: a saver that cannot understand the system ends without a word.
ScrCommand parseScrCommand(int argc, const char* const* argv);

// True when the program's file name ends in ".scr" (any case): the name Windows runs savers by.
bool isScrProgramPath(const char* path);
