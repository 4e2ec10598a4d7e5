// Reads the settings file with the private-profile functions.
#include "settings.h"

#include <windows.h>

namespace {

const char SettingsSection[] = "Default";

}  // namespace

std::string settingsPathFor(const std::string& modulePath) {
    std::string::size_type nameStart = modulePath.find_last_of("\\/");
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    std::string::size_type dot = modulePath.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart) {
        return modulePath + ".ini";
    }
    return modulePath.substr(0, dot) + ".ini";
}

std::string settingsFilePath() {
    char modulePath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, modulePath, MAX_PATH);
    return settingsPathFor(modulePath);
}

int readClipboardViewerSetting(const std::string& path) {
    return static_cast<int>(
        GetPrivateProfileIntA(SettingsSection, "ClipboardViewer", 0, path.c_str()));
}

void readPrefixSetting(const std::string& path, char* buffer) {
    GetPrivateProfileStringA(SettingsSection, "Prefix", "", buffer, PrefixSettingSize,
                             path.c_str());
}

void readOpenFileNameSetting(const std::string& path, char* buffer) {
    GetPrivateProfileStringA(SettingsSection, "OpenFileName", "", buffer, OpenFileNameSettingSize,
                             path.c_str());
}
