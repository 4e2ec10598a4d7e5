// How vexa-decode ends, and how it says what went wrong: its exit codes, and
// its lines on standard error, "vexa-decode: NAME: reason".
#pragma once

#include <string>

constexpr int ExitFailure = 1;   // an input could not be opened or read, a port query failed
constexpr int ExitUsage = 2;     // a command line that is not accepted
constexpr int ExitNoReport = 3;  // --require-report, and an input without a report
// A port's answer cut short by signal n (interruption.h), as a shell reports it.
constexpr int exitBySignal(int signalNumber) {
    return 128 + signalNumber;
}

// Says what went wrong with name (a file, a port, "standard input").
void complain(const std::string& name, const std::string& problem);
// Says what went wrong with the program as a whole.
void complain(const std::string& problem);

// The status of an input that was read whole.
int inputStatus(bool reportFound, bool reportRequired);

// The worse of two statuses: a failure outweighs an input without a report.
int worse(int status, int other);
