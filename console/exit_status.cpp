// vexa-decode's exit statuses and complaints.

#include "exit_status.h"

#include <cstdio>

#include "streams.h"

void complain(const std::string& name, const std::string& problem) {
    complain(name + ": " + problem);
}

void complain(const std::string& problem) {
    const std::string line = "vexa-decode: " + problem + "\n";
    if (!writeToConsole(line, true)) {
        std::fputs(line.c_str(), stderr);
    }
}

int inputStatus(bool reportFound, bool reportRequired) {
    return reportRequired && !reportFound ? ExitNoReport : 0;
}

int worse(int status, int other) {
    return status == ExitFailure || other == ExitFailure ? ExitFailure
                                                         : (status != 0 ? status : other);
}
