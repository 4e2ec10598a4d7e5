// vexa.exe: the Windows entry point. The argument text is taken from the
// command line here, not from MinGW's start-up code, which skips every byte
// above 0x7F after the program's name as a blank (a signed compare): the
// first letters of "Дмитрий.log" would be lost.
#include <windows.h>

#include "command_line.h"
#include "startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return runProgram(instance, argumentTextOf(GetCommandLineA()));
}
