// vexa-decode's exit statuses and complaints.

#include "exit_status.h"

#include <cstdio>

void complain(const std::string& name, const std::string& problem) {
    complain(name + ": " + problem);
}

void complain(const std::string& problem) {
    std::fprintf(stderr, "vexa-decode: %s\n", problem.c_str());
}

int inputStatus(bool reportFound, bool reportRequired) {
    return reportRequired && !reportFound ? ExitNoReport : 0;
}

int worse(int status, int other) {
    return status == ExitFailure || other == ExitFailure ? ExitFailure
                                                         : (status != 0 ? status : other);
}
