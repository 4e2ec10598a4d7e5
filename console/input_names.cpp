// Walking the inputs: a stack of directory levels, each sorted once when it
// is entered.

#include "input_names.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

std::string joined(const std::string& directory, const std::string& name) {
    const char last = directory.back();
    return last == '/' || last == '\\' ? directory + name : directory + "/" + name;
}

}  // namespace

InputNames::InputNames(const ConsoleOptions& options) : options_(options) {}

InputNames::~InputNames() {
    if (list_ != nullptr && list_ != stdin) {
        std::fclose(list_);
    }
}

bool InputNames::next(std::string* name, std::string* problem) {
    problem->clear();
    for (;;) {
        if (!walk_.empty()) {
            Level& level = walk_.back();
            if (level.next == level.entries.size()) {
                walk_.pop_back();
                continue;
            }
            const DirectoryEntry& entry = level.entries[level.next++];
            *name = joined(level.path, entry.name);
            if (!entry.directory) {
                return true;
            }
        } else {
            bool listed = false;
            if (!nextGiven(name, &listed, problem)) {
                return false;
            }
            if (!problem->empty() || (*name == "-" && !listed)) {
                return true;
            }
            if (!isDirectory(*name)) {
                // A listed "-" is a file of that name, not standard input.
                if (*name == "-") {
                    *name = "./-";
                }
                return true;
            }
            if (!options_.recursive) {
                *problem = "is a directory (-r reads the logs in it)";
                return true;
            }
        }
        Level level;
        level.path = *name;
        if (!listDirectory(*name, &level.entries, problem)) {
            return true;
        }
        // Hidden entries (".git", editors' backups) hold no logs.
        level.entries.erase(
            std::remove_if(level.entries.begin(), level.entries.end(),
                           [](const DirectoryEntry& entry) { return entry.name[0] == '.'; }),
            level.entries.end());
        std::sort(level.entries.begin(), level.entries.end(),
                  [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
        walk_.push_back(std::move(level));
    }
}

// The next name of the command line, then of the list.
bool InputNames::nextGiven(std::string* name, bool* listed, std::string* problem) {
    if (nextSource_ < options_.sources.size()) {
        *name = options_.sources[nextSource_++];
        return true;
    }
    if (options_.filesFrom.empty() || listEnded_) {
        return false;
    }
    *listed = true;
    return readListed(name, problem);
}

bool InputNames::readListed(std::string* name, std::string* problem) {
    if (!listOpened_) {
        listOpened_ = true;
        list_ = options_.filesFrom == "-" ? stdin : std::fopen(options_.filesFrom.c_str(), "rb");
        if (list_ == nullptr) {
            listEnded_ = true;
            *name = options_.filesFrom;
            *problem = std::strerror(errno);
            return true;
        }
    }
    const char separator = options_.nullNames ? '\0' : '\n';
    for (;;) {
        name->clear();
        bool ended = false;
        for (;;) {
            if (at_ == end_) {
                at_ = 0;
                end_ = std::fread(buffer_, 1, sizeof buffer_, list_);
                if (end_ == 0) {
                    ended = true;
                    break;
                }
            }
            const void* found = std::memchr(buffer_ + at_, separator, end_ - at_);
            const std::size_t stop =
                found != nullptr
                    ? static_cast<std::size_t>(static_cast<const char*>(found) - buffer_)
                    : end_;
            name->append(buffer_ + at_, stop - at_);
            at_ = stop;
            if (found != nullptr) {
                ++at_;
                break;
            }
        }
        if (!options_.nullNames && !name->empty() && name->back() == '\r') {
            name->pop_back();
        }
        if (ended) {
            listEnded_ = true;
            if (std::ferror(list_)) {
                *name = options_.filesFrom == "-" ? "standard input" : options_.filesFrom;
                *problem = "cannot read the list of names";
                return true;
            }
            return !name->empty();
        }
        if (!name->empty()) {
            return true;
        }
    }
}
