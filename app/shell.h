// What every shell shares: the window's size and title, the one input rule, and the contract of
// what each shell defines for the shared code to call.
#pragma once

inline constexpr int kScreenWidth = 800;
inline constexpr int kScreenHeight = 600;
inline constexpr const char* kWindowTitle = "Velmorin";

// Escape (27, compared in the low 8 bits) ends the process at once; other keys do nothing.
void handleKeyDown(int keyCode);

// ---------------------------------------------------------------------------------------------
// Defined by each desktop shell, called by the shared code (app/exit_handlers.cpp).
// The browser shell has no process to end: it links none of this.
//
//   what                   Linux (SDL2)                  Windows
//   teardownGraphics       app/linux/linux_window.cpp        app/win32/win32_graphics.cpp
//   installExitHandlers    app/linux/linux_exit_signals.cpp  app/win32/win32_exit_signals.cpp
//   onExitSignal           app/linux/linux_exit_signals.cpp  app/win32/win32_exit_signals.cpp
//     (both declared in app/exit_handlers.h)
//
// The error box is not called by name: each shell installs its sink with setErrorReporter
// (render/error_report.h) before anything can fail. Linux: showErrorBox in
// app/linux/linux_window.cpp; Windows: showErrorBox in app/win32/win32_main.cpp, reportSaverError in
// app/win32/win32_saver.cpp for the saver; browser: webPageShowError in app/web/web_page.cpp.
// ---------------------------------------------------------------------------------------------

// Releases the GL context and whatever else the shell holds for drawing, restores the display
// mode and ends the message loop. Safe to run twice, and before anything existed.
void teardownGraphics();
