// The settings file: an INI file next to the program, named after it with
// the extension ".ini", section "Default". It is only ever read; a missing
// file, section or key gives the default.
#pragma once

#include <string>

// Texts are read in the program's code page, UTF-8 from Windows 10 1903,
// where a character takes up to three bytes (a UTF-16 unit's worth); the
// limits stay in characters.
constexpr unsigned PrefixSettingCharacters = 79;
constexpr unsigned OpenFileNameSettingCharacters = 259;
constexpr unsigned PrefixSettingSize = 3 * PrefixSettingCharacters + 1;
constexpr unsigned OpenFileNameSettingSize = 3 * OpenFileNameSettingCharacters + 1;
// A path as the system may hand one over (MAX_PATH characters) in that code page.
constexpr unsigned PathBufferSize = 3 * 260;

// The module path with the file name's extension replaced by ".ini", or
// ".ini" appended when the file name has none. Only a dot after the last
// path separator counts: C:\my.tools\vexa gives C:\my.tools\vexa.ini.
std::string settingsPathFor(const std::string& modulePath);

// settingsPathFor applied to this program's own module path.
std::string settingsFilePath();

// ClipboardViewer: the integer read, 0 when missing or not a number.
int readClipboardViewerSetting(const std::string& path);
// Prefix into a buffer of PrefixSettingSize bytes, up to 79 characters; ""
// when missing.
void readPrefixSetting(const std::string& path, char* buffer);
// OpenFileName into a buffer of OpenFileNameSettingSize bytes, up to 259
// characters.
void readOpenFileNameSetting(const std::string& path, char* buffer);
