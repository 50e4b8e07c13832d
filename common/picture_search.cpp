// The search for the picture folder, kept apart from the file system so it can be tested.
#include "common/picture_search.h"

#include <cstdio>

namespace {

constexpr const char* kWorkingFolderPictures = "bitmap";
constexpr const char* kInstalledPictures = "/../share/velmorin/bitmap";
constexpr const char* kBesideProgramPictures = "/bitmap";
constexpr const char* kMarkerFile = "/background.bmp";

} // namespace

std::string findPictureFolder(const char* optionDir, const std::string& executableDir,
                              bool (*fileExists)(const std::string& path)) {
    if (optionDir != nullptr) {
        return optionDir;
    }
    if (fileExists(std::string(kWorkingFolderPictures) + kMarkerFile)) {
        return "";
    }
    if (!executableDir.empty()) {
        for (const char* relative : {kInstalledPictures, kBesideProgramPictures}) {
            const std::string folder = executableDir + relative;
            if (fileExists(folder + kMarkerFile)) {
                return folder;
            }
        }
    }
    return "";
}

std::string findSaverPictureFolder(const std::string& executableDir,
                                   const std::string& installedDir,
                                   bool (*fileExists)(const std::string& path)) {
    for (const std::string* folder : {&executableDir, &installedDir}) {
        if (folder->empty()) {
            continue;
        }
        const std::string pictures = *folder + kBesideProgramPictures;
        if (fileExists(pictures + kMarkerFile)) {
            return pictures;
        }
    }
    return findPictureFolder(nullptr, executableDir, fileExists);
}

bool pictureFileExists(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    std::fclose(file);
    return true;
}
