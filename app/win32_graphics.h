// The Win32 backend's drawing surface: the window's device context, pixel format, palette and
// GL context, and their teardown (teardownGraphics, declared in app/shell.h).
#pragma once

#include <windows.h>

extern HWND mainWindow;        // the one window; null until CreateWindowExA returns
extern HDC windowDC;           // the window's own device context, kept from creation on
extern HGLRC glContext;        // current on the window's thread from creation to teardown
extern HPALETTE windowPalette; // null when the pixel format needs no palette
extern RECT clientRect;        // the client area at creation; every frame validates it
// Whether the teardown puts the stored display mode back. Only the switched full-screen mode
// changes it; every other mode leaves the display alone, also at the end.
extern bool displayModeOwned;

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
