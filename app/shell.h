// What every backend of the window shell shares: the window's size and title, the one input
// rule, and the graphics teardown that the exit cleanup runs.
#pragma once

inline constexpr int kScreenWidth = 800;
inline constexpr int kScreenHeight = 600;
inline constexpr const char* kWindowTitle = "Velmorin";

// Escape (27, compared in the low 8 bits) ends the process at once; other keys do nothing.
void handleKeyDown(int keyCode);
// Releases the GL context and whatever else the backend holds for drawing, restores the display
// mode and ends the message loop. Safe to run twice, and before anything existed. Each backend
// defines it.
void teardownGraphics();
