// The paint cache's folder, file names, reading, atomic writing and pruning.
#include "app/paint_cache.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <system_error>

#include "pictures/background.h"
#include "pictures/bmp.h"
#include "render/bmp.h"
#include "render/error_report.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kFilePrefix = "background-";
constexpr const char* kFileSuffix = ".bmp";
constexpr const char* kPartSuffix = ".part";
constexpr int kBytesPerPixel = 3;

bool isNamed(const char* value) {
    return value != nullptr && value[0] != '\0';
}

void ignoreError(const char*) {}

bool isCacheFile(const fs::path& path) {
    const std::string name = path.filename().string();
    return name.rfind(kFilePrefix, 0) == 0 && name.size() > std::strlen(kFileSuffix) &&
           name.compare(name.size() - std::strlen(kFileSuffix), std::string::npos, kFileSuffix) ==
               0;
}

// Keeps the newest kPaintCacheSizes cache files.
void prunePaintCache(const fs::path& folder) {
    std::error_code code;
    std::vector<std::pair<fs::file_time_type, fs::path>> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, code)) {
        if (isCacheFile(entry.path())) {
            files.emplace_back(entry.last_write_time(code), entry.path());
        }
    }
    if (files.size() <= static_cast<size_t>(kPaintCacheSizes)) {
        return;
    }
    std::sort(files.begin(), files.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    for (size_t i = kPaintCacheSizes; i < files.size(); ++i) {
        fs::remove(files[i].second, code);
    }
}

} // namespace

fs::path findPaintCacheFolder() {
#ifdef _WIN32
    const char* localAppData = std::getenv("LOCALAPPDATA");
    return isNamed(localAppData) ? fs::path(localAppData) / "Velmorin" : fs::path();
#else
    const char* xdgCacheHome = std::getenv("XDG_CACHE_HOME");
    if (isNamed(xdgCacheHome) && fs::path(xdgCacheHome).is_absolute()) {
        return fs::path(xdgCacheHome) / "velmorin";
    }
    const char* home = std::getenv("HOME");
    return isNamed(home) ? fs::path(home) / ".cache" / "velmorin" : fs::path();
#endif
}

fs::path namePaintCacheFile(const fs::path& folder, int width, int height) {
    return folder / (kFilePrefix + std::string("v") + std::to_string(kBackgroundPainterVersion) +
                     "-" + std::to_string(width) + "x" + std::to_string(height) + kFileSuffix);
}

bool readPaintCache(const fs::path& folder, int width, int height, std::vector<uint8_t>* rgb) {
    const fs::path path = namePaintCacheFile(folder, width, height);
    std::error_code code;
    if (folder.empty() || !fs::is_regular_file(path, code)) {
        return false;
    }
    // A damaged file is only a reason to paint again, never an error for the user.
    const ErrorReporter reporter = currentErrorReporter();
    setErrorReporter(ignoreError);
    uint8_t* header = nullptr;
    ImageRecord record{};
    uint8_t* padded = readBmp(path.string().c_str(), &header, &record);
    setErrorReporter(reporter);
    if (padded == nullptr) {
        return false;
    }
    const bool fits = record.width == width && record.height == height;
    if (fits) {
        const size_t row = static_cast<size_t>(width) * kBytesPerPixel;
        const size_t paddedRow = static_cast<size_t>(record.paddedWidth) * kBytesPerPixel;
        rgb->resize(row * static_cast<size_t>(height));
        for (size_t y = 0; y < static_cast<size_t>(height); ++y) {
            std::memcpy(rgb->data() + y * row, padded + y * paddedRow, row);
        }
        // Read now: among the newest to keep.
        fs::last_write_time(path, fs::file_time_type::clock::now(), code);
    }
    std::free(padded);
    std::free(header);
    return fits;
}

bool writePaintCache(const fs::path& folder, const Image& image) {
    std::error_code code;
    if (folder.empty() || (fs::create_directories(folder, code), code)) {
        return false;
    }
    const fs::path path = namePaintCacheFile(folder, image.width, image.height);
    fs::path part = path;
    part += kPartSuffix;
    if (!writeBmp(part, image)) {
        fs::remove(part, code);
        return false;
    }
    fs::rename(part, path, code);
    if (code) {
        fs::remove(part, code);
        return false;
    }
    prunePaintCache(folder);
    return true;
}
