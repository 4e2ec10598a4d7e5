// A serial port opened for talking to a modem: raw bytes, 8 data bits, no
// parity, one stop bit, no flow control, at a rate from BaudRates
// (baud_rates.h). "/dev/ttyUSB0" elsewhere; "COM3" or "\\.\COM3" on Windows.
// The port is opened for this program alone, and closes when the object
// goes.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

class SerialPort {
  public:
    virtual ~SerialPort() = default;

    // Drops what arrived before now, so an answer is not mistaken for an
    // earlier one.
    virtual void discardInput() = 0;
    // Writes all of text; false, with failure() set, when it cannot.
    virtual bool write(const std::string& text) = 0;
    // Reads what has arrived, waiting up to waitMs milliseconds for the
    // first byte (-1: as long as it takes). Returns the count, 0 when nothing
    // came in time, or -1 when the port failed or hung up (failure() says
    // which; hungUp() is true for the second).
    virtual std::ptrdiff_t read(char* buffer, std::size_t size, int waitMs) = 0;

    bool hungUp() const { return hungUp_; }
    const std::string& failure() const { return failure_; }

  protected:
    bool hungUp_ = false;
    std::string failure_;
};

// What openSerialPort says of a port another program or run holds open.
constexpr const char* PortBusy = "busy";

// Null, with the reason in *failure, when the port cannot be opened or set.
std::unique_ptr<SerialPort> openSerialPort(const std::string& name, long baudRate,
                                           std::string* failure);
