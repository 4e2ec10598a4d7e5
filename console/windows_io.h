// What vexa-decode's Windows files share: a system error code in words, the
// names that mean a serial port and the device path that opens one, and the
// most one ReadFile asks for.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

std::string systemErrorText(DWORD error);

// "COM3", "com12:" or a device path "\\.\COM3".
bool isPortName(const std::string& name);
// The path CreateFile opens the port by: COM10 and above are reached only by
// their device path, so every port gets one.
std::string portDevicePath(const std::string& name);

// A read of size bytes asks for at most 1 MiB: more only costs memory for
// what a port or a pipe never holds at once.
DWORD readSizeFor(std::size_t size);
