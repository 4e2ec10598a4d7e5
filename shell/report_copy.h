// The report view's own procedure, installed over the edit control's: Copy
// puts the report header and the selected part of the report on the
// clipboard, Paste decodes the clipboard. Everything else goes to the edit
// control's procedure unchanged.
//
// The selection positions are used as offsets into the message buffer,
// which the report view always shows exactly.
#pragma once

#include <windows.h>

LRESULT CALLBACK reportViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam);
