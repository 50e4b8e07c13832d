// The demo's one window: its creation sequence, its events, and its teardown.
#pragma once

#include "app/platform.h"

inline constexpr int kScreenWidth = 800;
inline constexpr int kScreenHeight = 600;
inline constexpr const char* kWindowTitle = "Velmorin";

// Window, GL context, fixed GL state and background, the scene, the client size. False when
// the window or its context could not be made.
bool windowCreate();
// What the window does with one event: resize, key or close.
void windowHandleEvent(const PlatformEvent& event);
// One frame: timed, stepped, drawn and shown.
void windowPaint();
// Escape (27, compared in the low 8 bits) ends the process at once; other keys do nothing.
void handleKeyDown(int keyCode);
// Releases the GL context, restores the display mode and ends the loop. Safe to run twice, and
// before anything existed.
void teardownGraphics();
// True once teardownGraphics has asked the message loop to end.
bool windowQuitRequested();
// The error sink of the running demo: a modal "Error" box, taken down by an exit signal.
void showErrorBox(const char* text);
