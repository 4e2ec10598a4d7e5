// The rates a serial port is opened at (--baud): the usual rates of modems
// and their adapters, ascending.
#pragma once

#include <cstddef>

constexpr long BaudRates[] = {300,   1200,  2400,   4800,   9600,   19200,
                              38400, 57600, 115200, 230400, 460800, 921600};
constexpr std::size_t BaudRateCount = sizeof BaudRates / sizeof BaudRates[0];
constexpr long DefaultBaudRate = 115200;
