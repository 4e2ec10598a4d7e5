// Directories with FindFirstFile: a reparse point (a junction or a link to
// a directory) is not entered.

#include "directories.h"

#include <windows.h>

bool isDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool listDirectory(const std::string& path, std::vector<DirectoryEntry>* entries,
                   std::string* failure) {
    const char last = path.back();
    const std::string pattern = path + (last == '/' || last == '\\' ? "*" : "\\*");
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        *failure = GetLastError() == ERROR_ACCESS_DENIED ? "Permission denied"
                                                         : "cannot read the directory";
        return false;
    }
    do {
        const std::string name = found.cFileName;
        const DWORD attributes = found.dwFileAttributes;
        const bool directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (name == "." || name == ".." ||
            (directory && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)) {
            continue;
        }
        entries->push_back({name, directory});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return true;
}
