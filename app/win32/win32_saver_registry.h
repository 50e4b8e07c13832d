// What the screensaver reads from the registry: its settings, under
// HKEY_CURRENT_USER\Software\Velmorin, and the installer's folder.
#pragma once

#include <string>

#include "app/win32/win32_saver_settings.h"

// Whatever is stored, made usable; the defaults where nothing is.
SaverSettings win32LoadSaverSettings();
// Writes every value; false if the key could not be opened or a value not written.
bool win32StoreSaverSettings(const SaverSettings& settings);
// The folder the installer put the programs and bitmap\ in, from InstallDir under
// HKEY_LOCAL_MACHINE\Software\Velmorin; empty when nothing was installed.
std::string win32InstalledFolder();
