// The GL 1.1 backend's text: a small frames-per-second text in the top-left corner.
#pragma once

// Draws text in white at the window's top-left, for a viewport of width by height pixels,
// leaving every piece of GL state as it found it.
void drawFpsOverlay(const char* text, int width, int height);
