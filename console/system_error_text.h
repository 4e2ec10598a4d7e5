// The Windows text of a system error code, for messages on standard error.
#pragma once

#include <windows.h>

#include <string>

std::string systemErrorText(DWORD error);
