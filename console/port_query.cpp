// Talking to the modem on a serial port: what the answer's ending means for
// the user and for the exit status. A report the ending cut short is
// written all the same, marked with the reason (the decoding run asks the
// answer for it).

#include "port_query.h"

#include <chrono>
#include <cstdio>
#include <string>

#include "exit_status.h"
#include "input_decoding.h"
#include "interruption.h"
#include "modem_answer.h"
#include "serial_port.h"

namespace {

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

}  // namespace

int queryPort(const ConsoleOptions& options, OutputWriter& writer) {
    std::string failure;
    const auto port = openSerialPort(options.port, options.baudRate, &failure);
    if (port == nullptr) {
        complain(options.port, failure);
        return ExitFailure;
    }
    if (options.hasQuery) {
        port->discardInput();
        if (!port->write(options.query + "\r")) {
            complain(options.port, "cannot send the command: " + port->failure());
            return ExitFailure;
        }
    }
    catchInterruptions();
    const auto timeout =
        std::chrono::milliseconds(static_cast<long long>(options.timeout * 1000.0 + 0.5));
    ModemAnswer answer(*port, options.hasQuery, timeout);
    ConsoleInput input;
    input.name = options.port;
    input.stream = &answer;
    input.asPort = true;
    const InputOutcome outcome = decodeInput(input, options, writer);
    std::string problem;
    switch (answer.ending()) {
        case AnswerEnding::Error:
            problem = "the modem answered ERROR";
            break;
        case AnswerEnding::TimedOut:
            problem = "silent for " + seconds(options.timeout) + " s before OK or ERROR";
            break;
        case AnswerEnding::HungUp:
            problem = options.hasQuery ? "the port hung up before OK or ERROR" : "";
            break;
        case AnswerEnding::Failed:
            problem = outcome.readFailure;
            break;
        case AnswerEnding::Interrupted:
            complain(options.port, "interrupted");
            return exitBySignal(interruptingSignal());
        case AnswerEnding::Ok:
        case AnswerEnding::Open:
            break;
    }
    if (!problem.empty()) {
        complain(options.port, problem);
        return ExitFailure;
    }
    return inputStatus(outcome.blockFound, options.requireReport);
}
