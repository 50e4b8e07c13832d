// --wallpaper and --saver on Wayland: the scene on a layer surface of every output, through the
// Wayland backend (platform/wayland/), for as long as the compositor keeps them.
#pragma once

#include "app/options.h"

// Runs the mode the options name (Wallpaper or StandaloneSaver) on the compositor named in the
// environment and returns the exit status: 0 when it ended as it should (a signal, the
// compositor closing the surfaces or going away, the user stirring at the saver), 1 when the
// compositor offers no layer surfaces. -1 when no connection could be made at all, so that the
// caller can try X11 instead.
int layersRun(const DemoOptions& options);
// Releases what layersRun holds; for the exit cleanup. Harmless when nothing was made.
void layersTeardown();
