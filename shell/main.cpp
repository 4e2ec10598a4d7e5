// vexa.exe: the Windows entry point. The C runtime hands over the argument
// text (the command line without the program's own name).
#include <windows.h>

#include "startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR argumentText, int) {
    return runProgram(instance, argumentText);
}
