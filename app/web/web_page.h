// The browser page around the canvas: its URL, title, messages and reload, for the web shell.
#pragma once

#include <cstddef>

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
// Counts a drawn frame for whoever watches the page: window.velmorin.frames, and the time of
// the first frame since the page began to load, window.velmorin.firstFrameMs.
void webPageCountFrame();
