// The Windows shell's drawing surface: pixel format, palette, swap interval; the handles live in
// Win32State, and their teardown is this shell's teardownGraphics (see app/shell.h).
#pragma once

#include "app/win32/win32_state.h"

// Double-buffered RGBA with 24 colour and 32 depth bits, drawn into a window with OpenGL.
extern const PIXELFORMATDESCRIPTOR kPixelFormat;

// Sets the closest format to kPixelFormat that the device offers; results are not tested.
void setupPixelFormat(HDC deviceContext);
// For a format that needs a palette: builds, selects and realises one for the format's channel
// layout. Null when the format needs none, or when one cannot be made.
HPALETTE setupPalette(HDC deviceContext);
// Asks the driver not to wait for the display's refresh, when it offers the choice; the context
// must be current. Without this call the driver keeps its own setting.
void disableSwapInterval();
// True when the driver says it waits for the display's refresh on every swap (a swap interval
// above 0); false when it does not say. The context must be current.
bool swapIntervalActive();
// The current refresh rate of the main display in Hz; 0 when it is the hardware's unnamed default.
int displayRefreshRate();
