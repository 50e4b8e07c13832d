// The folder the pictures are read from, and the path of each picture in it.
#pragma once

#include <string>

// Empty (the default): names are used as they are, relative to the working folder.
void setPictureFolder(const std::string& folder);
// For a picture name such as "bitmap/rock1.bmp": the name itself when no folder is set,
// otherwise the folder followed by the name's last component.
std::string picturePath(const char* name);
