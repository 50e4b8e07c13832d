// Where the demo's pictures are: the first of the usual places that holds them.
#pragma once

#include <string>

// The folder to read background.bmp and the sphere pictures from, in this order: the folder
// given on the command line (taken as it is); bitmap/ under the working folder; the installed
// share/velmorin/bitmap next to the program's bin/; bitmap/ beside the program. A candidate
// counts when it holds background.bmp. Empty means bitmap/ under the working folder, both when
// that is where they are and when no place has them (the pictures then fail as they always did).
std::string findPictureFolder(const char* optionDir, const std::string& executableDir,
                              bool (*fileExists)(const std::string& path));

// For a screensaver, which Windows starts in its system folder: bitmap/ beside the program
// first, then bitmap/ in the folder the installer put the programs in (installedDir, empty when
// there is none), then the places findPictureFolder tries.
std::string findSaverPictureFolder(const std::string& executableDir,
                                   const std::string& installedDir,
                                   bool (*fileExists)(const std::string& path));

// The usual existence test for findPictureFolder.
bool pictureFileExists(const std::string& path);
