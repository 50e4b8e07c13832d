// Reads and writes the screensaver's settings as DWORD values of the user's own key, and reads
// where the installer put the program.
#include "app/win32/win32_saver_registry.h"

#include <windows.h>

namespace {

// Written by the installer (dist/velmorin.nsi) and removed by its uninstaller.
constexpr const char* kInstalledFolderValue = "InstallDir";

SaverStored readDword(HKEY key, const char* name, DWORD* value) {
    DWORD type = 0;
    DWORD size = sizeof *value;
    const LONG status =
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    if (status == ERROR_FILE_NOT_FOUND) {
        return SaverStored::Absent;
    }
    // ERROR_MORE_DATA: a value longer than a DWORD, whatever its declared type.
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof *value) {
        return SaverStored::OtherType;
    }
    return SaverStored::Dword;
}

} // namespace

SaverSettings win32LoadSaverSettings() {
    SaverSettings settings = saverSettingsDefaults();
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSaverRegistryKey, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return settings;
    }
    for (size_t i = 0; i < kSaverSettingRuleCount; i++) {
        const SaverSettingRule& rule = kSaverSettingRules[i];
        DWORD value = 0;
        const SaverStored stored = readDword(key, rule.name, &value);
        settings.*rule.field = saverSettingsReadValue(rule, stored, value);
    }
    RegCloseKey(key);
    return settings;
}

bool win32StoreSaverSettings(const SaverSettings& settings) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSaverRegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    bool written = true;
    for (size_t i = 0; i < kSaverSettingRuleCount; i++) {
        const SaverSettingRule& rule = kSaverSettingRules[i];
        const DWORD value = settings.*rule.field;
        written =
            RegSetValueExA(key, rule.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                           sizeof value) == ERROR_SUCCESS &&
            written;
    }
    RegCloseKey(key);
    return written;
}

std::string win32InstalledFolder() {
    char folder[MAX_PATH] = {};
    DWORD size = sizeof folder;
    // RRF_RT_REG_SZ: a value of any other type, or too long for a path, counts as none.
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kSaverRegistryKey, kInstalledFolderValue, RRF_RT_REG_SZ,
                     nullptr, folder, &size) != ERROR_SUCCESS) {
        return "";
    }
    return folder;
}
