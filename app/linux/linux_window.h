// The demo's one window through the SDL2 platform layer: creation, events, teardown.
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
// What the last frame drew, as the rectangles to show (kDamageMaxRects at most); 0: all of it.
int windowDrawnRects(PlatformRect* rects);
// True while nobody can see the window: it is unmapped or minimised (or its host's is).
bool windowHidden();
// Instead of a frame while hidden: waits for the next event, waking often enough that an exit
// signal is answered well within a second. The time step does not jump when frames return: the
// frame timing leaves the gap out.
void windowRestWhileHidden();
// True once after the window moved to another display.
bool windowTakeDisplayChange();
// True once teardownGraphics has asked the message loop to end.
bool windowQuitRequested();
// The error sink of the running demo: a modal "Error" box, taken down by an exit signal.
void showErrorBox(const char* text);
