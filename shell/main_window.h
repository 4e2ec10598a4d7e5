// The main window: a dialog (template 101) holding the report view and the
// two-pane status bar under the menu. Its procedure receives every command
// and accelerator, lays the controls out, colours the report view, takes
// dropped files, shows menu help and carries the clipboard viewer messages.
//
// Destroying the window posts the quit message that ends the program.
#pragma once

#include <windows.h>

#include "output_writer.h"
#include "settings.h"

// What start-up hands the window as its creation parameter: the window keeps
// a pointer to it as its own data, so it must outlive the window.
struct WindowSettings {
    // A report that a read error cut short shows what came before it.
    WindowSettings() { text.showsReadFailed = true; }
    TextSettings text;                                   // every report's line prefix and end
    const char* startupFileName = nullptr;               // decoded when the window opens
    char fileNameSetting[OpenFileNameSettingSize] = {};  // where startupFileName may point
};

INT_PTR CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
