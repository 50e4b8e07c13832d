// Picture names resolved against the chosen picture folder.
#include "render/picture_folder.h"

#include <cstring>

namespace {

std::string pictureFolder;

} // namespace

void setPictureFolder(const std::string& folder) {
    pictureFolder = folder;
}

std::string picturePath(const char* name) {
    if (pictureFolder.empty()) {
        return name;
    }
    const char* slash = std::strrchr(name, '/');
    const char* fileName = slash != nullptr ? slash + 1 : name;
    return pictureFolder + "/" + fileName;
}
