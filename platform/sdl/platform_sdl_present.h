// Showing frames in part: which of the GL driver's ways the window's context offers, chosen
// once its context is current.
#pragma once

#include "platform/platform.h"

struct SDL_Window;

// Looks at the context current on window and picks how frames are shown: a swap that reports
// the buffer's age, copying rectangles of a back buffer that keeps its contents, or plain swaps
// of whole frames (always, when VELMORIN_FULL_FRAMES is set in the environment: the benches'
// reference).
void presentChoose(SDL_Window* window);
// platformBackBufferAge and platformPresentFrame for that window.
int presentBackBufferAge();
void presentFrame(SDL_Window* window, const PlatformRect* rects, int count);
// Back to plain swaps, before the context goes.
void presentForget();
