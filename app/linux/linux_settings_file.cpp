// Reads the settings file from $XDG_CONFIG_HOME or --config and lays the command line over it.
#include "app/linux/linux_settings_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

namespace {

constexpr size_t kReadChunk = 4096;

// The whole file; false with errno set when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::string* text) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    char chunk[kReadChunk];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        text->append(chunk, got);
    }
    const bool failed = std::ferror(file) != 0; // a folder opens, then fails to read
    const int readError = errno;
    std::fclose(file);
    errno = readError;
    return !failed;
}

} // namespace

int linuxApplySettingsFile(int argc, const char* const* argv, const char* saverWindowEnv,
                           SettingsFile* file, DemoOptions* options) {
    const bool named = options->configFile != nullptr;
    const std::string path =
        named ? options->configFile
              : settingsFileDefaultPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    std::string text;
    if (path.empty()) {
        return -1;
    }
    if (!readWholeFile(path, &text)) {
        const int error = errno;
        // No file, no settings; nor where a folder on the way cannot be searched (a saver run as
        // another user under this HOME), since no file can be seen there.
        if (!named && (error == ENOENT || ::access(path.c_str(), F_OK) != 0)) {
            return -1;
        }
        std::fprintf(stderr, "%s: cannot read %s: %s\n", kProgramName, path.c_str(),
                     std::strerror(error));
        // One named on the command line is a mistake in it; the usual one only a warning.
        return named ? kUsageStatus : -1;
    }
    DemoOptions merged;
    settingsFileApply(text, file, &merged);
    for (const SettingsFileError& error : file->errors) {
        std::fprintf(stderr, "%s: %s:%d: %s\n", kProgramName, path.c_str(), error.line,
                     error.message.c_str());
    }
    // The command line was read once already, so it is good, and now it wins over the file.
    if (parseDemoOptionsOver(argc, argv, saverWindowEnv, &merged) == OptionsVerdict::Run) {
        *options = merged;
    }
    return -1;
}
