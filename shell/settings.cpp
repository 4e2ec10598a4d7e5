// Reads the settings file with the private-profile functions.
#include "settings.h"

#include <windows.h>

namespace {

const char SettingsSection[] = "Default";

// Cuts text to its first characters (UTF-16 units, as the system counts
// them), never inside a character.
void cutToCharacters(char* text, int characters) {
    wchar_t wide[OpenFileNameSettingSize] = {};
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, OpenFileNameSettingSize);
    if (length - 1 <= characters) {
        return;
    }
    int bytes =
        WideCharToMultiByte(CP_ACP, 0, wide, characters, text,
                            static_cast<int>(OpenFileNameSettingSize) - 1, nullptr, nullptr);
    text[bytes] = '\0';
}

void readTextSetting(const std::string& path, const char* key, char* buffer, unsigned size,
                     unsigned characters) {
    GetPrivateProfileStringA(SettingsSection, key, "", buffer, size, path.c_str());
    cutToCharacters(buffer, static_cast<int>(characters));
}

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
    char modulePath[PathBufferSize] = {};
    GetModuleFileNameA(nullptr, modulePath, PathBufferSize);
    return settingsPathFor(modulePath);
}

int readClipboardViewerSetting(const std::string& path) {
    return static_cast<int>(
        GetPrivateProfileIntA(SettingsSection, "ClipboardViewer", 0, path.c_str()));
}

void readPrefixSetting(const std::string& path, char* buffer) {
    readTextSetting(path, "Prefix", buffer, PrefixSettingSize, PrefixSettingCharacters);
}

void readOpenFileNameSetting(const std::string& path, char* buffer) {
    readTextSetting(path, "OpenFileName", buffer, OpenFileNameSettingSize,
                    OpenFileNameSettingCharacters);
}
