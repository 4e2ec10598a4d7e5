// The settings file: an INI file next to the program, named after it with
// the extension ".ini", section "Default". It is only ever read; a missing
// file, section or key gives the default.
#pragma once

#include <string>

constexpr unsigned PrefixSettingSize = 80;
constexpr unsigned OpenFileNameSettingSize = 260;

// The module path with the file name's extension replaced by ".ini", or
// ".ini" appended when the file name has none. Only a dot after the last
// path separator counts: C:\my.tools\vexa gives C:\my.tools\vexa.ini.
std::string settingsPathFor(const std::string& modulePath);

// settingsPathFor applied to this program's own module path.
std::string settingsFilePath();

// ClipboardViewer: the integer read, 0 when missing or not a number.
int readClipboardViewerSetting(const std::string& path);
// Prefix into a buffer of PrefixSettingSize bytes; "" when missing.
void readPrefixSetting(const std::string& path, char* buffer);
// OpenFileName into a buffer of OpenFileNameSettingSize bytes.
void readOpenFileNameSetting(const std::string& path, char* buffer);
