// When a full-screen saver (Windows' /s, --saver on X11 and Wayland) should take a mouse move
// as the user coming back.
#pragma once

// Pixels the pointer may wander from where it was first seen without ending the saver: mice
// jitter, and some report a move when nothing moved.
inline constexpr int kSaverPointerSlack = 4;

struct SaverPointer {
    bool anchored = false; // the first move only says where the pointer is
    int x = 0;
    int y = 0;
};

// Takes one reported pointer position; true when it is the user stirring: farther than the slack
// from the first position reported, along either axis.
bool saverPointerMoveEnds(SaverPointer* pointer, int x, int y);
