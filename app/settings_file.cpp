// A settings file's lines, each read by the command line's own option table.
#include "app/settings_file.h"

#include <map>

namespace {

constexpr const char* kBlanks = " \t\r";

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The line up to its comment, if it has one.
std::string withoutComment(const std::string& line) {
    for (size_t i = 0; i < line.size(); i++) {
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
            return line.substr(0, i);
        }
    }
    return line;
}

// Why a setting was not taken, or empty when it was.
std::string applyLine(const std::string& name, const std::string& value, SettingsFile* file,
                      DemoOptions* options) {
    file->values.push_back(value); // where options may point from now on
    switch (applyDemoSetting(name.c_str(), file->values.back().c_str(), options)) {
    case SettingVerdict::Applied:
        return "";
    case SettingVerdict::Unknown:
        file->values.pop_back();
        return name + ": no such setting";
    case SettingVerdict::CommandLineOnly:
        file->values.pop_back();
        return name + ": only on the command line";
    case SettingVerdict::BadValue:
        break;
    }
    file->values.pop_back();
    const std::string expects = demoSettingExpects(name.c_str());
    if (value.empty()) {
        return name + ": no value, expected " + expects;
    }
    return name + ": " + value + " is not " + expects;
}

} // namespace

void settingsFileApply(const std::string& text, SettingsFile* file, DemoOptions* options) {
    std::map<std::string, int> setOnLine;
    int number = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        number++;
        const std::string line = trimmed(withoutComment(text.substr(start, end - start)));
        start = end + 1;
        if (line.empty()) {
            continue;
        }
        const size_t equals = line.find('=');
        const std::string name = equals == std::string::npos ? "" : trimmed(line.substr(0, equals));
        if (name.empty()) {
            file->errors.push_back({number, "not a line of name = value: " + line});
            continue;
        }
        const auto earlier = setOnLine.find(name);
        if (earlier != setOnLine.end()) {
            file->errors.push_back(
                {number, name + ": already set on line " + std::to_string(earlier->second)});
            continue;
        }
        const std::string why = applyLine(name, trimmed(line.substr(equals + 1)), file, options);
        if (why.empty()) {
            setOnLine[name] = number;
        } else {
            file->errors.push_back({number, why});
        }
    }
}

std::string settingsFileDefaultPath(const char* xdgConfigHome, const char* home) {
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') {
        return std::string(xdgConfigHome) + "/" + kSettingsFileLocation;
    }
    if (home != nullptr && home[0] != '\0') {
        return std::string(home) + "/.config/" + kSettingsFileLocation;
    }
    return "";
}
