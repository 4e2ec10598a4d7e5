// The main window: a dialog (template 101) holding the report view and the
// two-pane status bar under the menu. Its procedure receives every command
// and accelerator, lays the controls out, colours the report view, takes
// dropped files, shows menu help and carries the clipboard viewer messages.
//
// Destroying the window posts the quit message that ends the program.
#pragma once

#include <windows.h>

INT_PTR CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
