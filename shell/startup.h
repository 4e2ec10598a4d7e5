// Start-up and shut-down: settings file and command line, the message
// buffer, the main window and the message loop.
//
// runProgram is the whole life of the program after WinMain: it fixes the
// line prefix, the viewer mode flag and the start-up file name, creates the
// main window and runs the message loop until the window is gone. It returns
// the exit code: 0 normally, after the usage box and when the window cannot
// be created; 1 when the message buffer cannot be created.
#pragma once

#include <windows.h>

int runProgram(HINSTANCE instance, const char* argumentText);

// Offers one message to the accelerators, then to the dialog navigation,
// then dispatches it: the body of the message loop.
void handleLoopMessage(MSG* message, HWND mainWindow, HACCEL accelerators);
