// The screensaver's settings dialog: the spheres, the speed, the spray, the background and the
// frame rate display.
#pragma once

#include <windows.h>

#include "app/win32/win32_saver_settings.h"

// Modal, owned by owner (may be null). True on OK, with the chosen settings in *settings; false
// on Cancel or Escape, with *settings untouched.
bool win32RunSettingsDialog(HWND owner, SaverSettings* settings);
