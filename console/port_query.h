// vexa-decode --port: opens the serial port, sends the --query command and
// CR when one is given, and decodes what the port answers (modem_answer.h).
// Problems go to standard error as "vexa-decode: PORT: reason". Returns the
// exit status: 1 when the port cannot be used, the modem answers ERROR, or
// the answer does not end with OK or ERROR in time; else 0, or 3 under
// --require-report when the answer holds no report.
#pragma once

#include "options.h"
#include "output_writer.h"

int queryPort(const ConsoleOptions& options, OutputWriter& writer);
