// The directories of vexa-decode's inputs: whether a name is one, and what
// one holds, for -r. Each platform's own calls (directories_posix.cpp,
// directories_win32.cpp).
#pragma once

#include <string>
#include <vector>

struct DirectoryEntry {
    std::string name;  // without the directory's path
    bool directory = false;
};

// True when path names a directory (following a symbolic link).
bool isDirectory(const std::string& path);

// The entries of a directory but "." and "..", in no order; a symbolic link
// to a directory counts as neither a directory nor a file and is left out,
// so that a walk never loops. False with the reason when it cannot be read.
bool listDirectory(const std::string& path, std::vector<DirectoryEntry>* entries,
                   std::string* failure);
