// The demo's one window under the platform interface (the SDL2 shell): creation, events, teardown.
#pragma once

#include "app/options.h"
#include "app/shell.h"
#include "platform/platform.h"

// Window, GL context, fixed GL state and background, the scene, the client size, all as the
// options ask. False when the window or its context could not be made.
bool windowCreate(const DemoOptions& options);
// What the window does with one event: resize, key or close; with --saver any key, click or
// pointer move beyond the slack ends it as a close does.
void windowHandleEvent(const PlatformEvent& event);
// Between frames: a pending exit signal ends the process here, never while a frame uses the
// bodies; then every waiting event is handled. False once the loop is to end.
bool windowServeEvents();
// One frame: timed, stepped, drawn and shown.
void windowPaint();
// True once teardownGraphics has asked the message loop to end.
bool windowQuitRequested();
// The error sink of the running demo: a modal "Error" box, taken down by an exit signal.
void showErrorBox(const char* text);
