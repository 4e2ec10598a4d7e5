// The About box (template 103): version banner, maker line, contact line.
// Modal to the main window; closing it changes nothing.
#pragma once

#include <windows.h>

// The maker and contact lines under the version banner; not part of the
// report header.
extern const char AboutMakerLine[];
extern const char AboutContactLine[];

void showAboutBox(HWND owner);
INT_PTR CALLBACK aboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
