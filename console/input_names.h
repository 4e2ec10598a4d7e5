// The names vexa-decode decodes, one at a time: the files named on the
// command line, then those of --files-from (read as they are needed, so a
// list of any length costs no memory); with -r a directory stands for the
// files in it and below, each directory's entries sorted by name (bytes),
// a directory's files where its name sorts, hidden entries (names that
// begin with ".") left out, links to directories not followed. Without -r a directory is no
// input: it is named as a problem.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "directories.h"
#include "options.h"

class InputNames {
  public:
    explicit InputNames(const ConsoleOptions& options);
    ~InputNames();
    InputNames(const InputNames&) = delete;
    InputNames& operator=(const InputNames&) = delete;

    // The next name to decode, true; or a problem to say about the name
    // (a directory without -r, one that cannot be read, a list that cannot
    // be opened or read), true with problem set; false at the end.
    bool next(std::string* name, std::string* problem);

  private:
    bool nextGiven(std::string* name, bool* listed, std::string* problem);
    bool readListed(std::string* name, std::string* problem);

    struct Level {
        std::string path;
        std::vector<DirectoryEntry> entries;
        std::size_t next = 0;
    };

    const ConsoleOptions& options_;
    std::size_t nextSource_ = 0;
    std::FILE* list_ = nullptr;
    char buffer_[4096];
    std::size_t at_ = 0;
    std::size_t end_ = 0;
    bool listOpened_ = false;
    bool listEnded_ = false;
    std::vector<Level> walk_;
};
