// Ctrl+C and SIGTERM during a port's answer: caught, so that the report
// decoded so far is still written, marked as interrupted, and the program
// ends with 128 and the signal's number as its status.
#pragma once

// From here on SIGINT and SIGTERM are noted instead of ending the program.
void catchInterruptions();
// The signal that arrived, 0 while none has.
int interruptingSignal();
