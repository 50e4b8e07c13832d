// The screensaver's settings in the registry, under HKEY_CURRENT_USER\Software\Velmorin.
#pragma once

#include "app/win32/win32_saver_settings.h"

// Whatever is stored, made usable; the defaults where nothing is.
SaverSettings win32LoadSaverSettings();
// Writes every value; false if the key could not be opened or a value not written.
bool win32StoreSaverSettings(const SaverSettings& settings);
