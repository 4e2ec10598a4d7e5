// A modem's answer on a serial port as a stream a decoding run reads: what
// arrives is handed on as it comes. Asked a command, the answer ends with
// its final result code: after the line that begins with "OK" or "ERROR"
// the input ends, and it ends too when the port stays silent for longer
// than the timeout (a slow modem that keeps talking is not cut off).
// Without a command it runs until the port hangs up. Either way SIGINT or
// SIGTERM (interruption.h) ends it, after what had already arrived.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "serial_port.h"
#include "streams.h"

enum class AnswerEnding {
    Open,         // still going
    Ok,           // a line beginning with "OK" arrived
    Error,        // a line beginning with "ERROR" arrived
    TimedOut,     // the port fell silent for longer than the timeout first
    HungUp,       // the port hung up first
    Failed,       // the port failed (port.failure() says why)
    Interrupted,  // a signal came first
};

class ModemAnswer : public InputStream {
  public:
    // untilResult: end after the final result code, or after silence of
    // timeout.
    ModemAnswer(SerialPort& port, bool untilResult, std::chrono::milliseconds timeout);

    std::ptrdiff_t readSome(char* buffer, std::size_t size) override;
    CutReason endReason() const override;

    AnswerEnding ending() const { return ending_; }

  private:
    std::size_t watchLines(const char* bytes, std::size_t count);

    SerialPort& port_;
    bool untilResult_;
    std::chrono::milliseconds timeout_;
    std::chrono::steady_clock::time_point deadline_;
    AnswerEnding ending_ = AnswerEnding::Open;
    bool drained_ = false;  // read what had arrived after a signal
    // The start of the line under way, up to the longest result word.
    std::string lineStart_;
    bool lineBegun_ = false;
};
