// The browser page around the canvas: its URL, title, messages, reload, the canvas's size and
// full screen, for the web shell.
#pragma once

#include <cstddef>
#include <cstdint>

// The URL's query parameter name into out (at most size bytes with the terminator); false when
// the URL has no such parameter.
bool webPageParam(const char* name, char* out, size_t size);
void webPageSetTitle(const char* title);
// A failure the user must see, written into the page where a desktop would show a box.
void webPageShowError(const char* text);
// The "stopped" notice over the canvas, or none.
void webPageShowStopped(bool stopped);
// Starts the page again from the beginning (the tab itself cannot be closed by the page).
void webPageReload();
// Counts a drawn frame for whoever watches the page: window.velmorin.frames, the time of the
// first frame since the page began to load, window.velmorin.firstFrameMs, and the bodies it
// showed, window.velmorin.bodies.
void webPageCountFrame(uint32_t bodies);
// The canvas fills the window: its backing store is the window's size times the pixel ratio,
// scaled down to at most maxSide pixels a side, and follows resizes, zoom and moves to a screen
// of another ratio.
void webPageFillWindow(int maxSide);
// The canvas at a fixed width by height at the page's top-left, one pixel per pixel, nothing
// over it: for frames compared with other renderings.
void webPageFixCanvas(int width, int height);
// The frame-rate figure over the canvas; null hides it.
void webPageShowFps(const char* text);
// Into full screen, or out of it.
void webPageToggleFullScreen();
