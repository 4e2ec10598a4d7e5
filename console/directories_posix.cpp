// Directories with opendir and lstat.

#include "directories.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

bool isDirectory(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool listDirectory(const std::string& path, std::vector<DirectoryEntry>* entries,
                   std::string* failure) {
    DIR* directory = opendir(path.c_str());
    if (directory == nullptr) {
        *failure = std::strerror(errno);
        return false;
    }
    const std::string base = path.back() == '/' ? path : path + "/";
    errno = 0;
    while (const dirent* entry = readdir(directory)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        struct stat status;
        if (lstat((base + name).c_str(), &status) != 0) {
            continue;
        }
        if (S_ISLNK(status.st_mode) &&
            (stat((base + name).c_str(), &status) != 0 || S_ISDIR(status.st_mode))) {
            continue;
        }
        entries->push_back({name, S_ISDIR(status.st_mode)});
        errno = 0;
    }
    const int error = errno;
    closedir(directory);
    if (error != 0) {
        *failure = std::strerror(error);
        return false;
    }
    return true;
}
