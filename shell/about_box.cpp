// The About box procedure.
#include "about_box.h"

#include "command_ids.h"
#include "report_header.h"
#include "shell_state.h"

namespace {

void setItemText(HWND dialog, int id, const char* text) {
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

}  // namespace

const char AboutMakerLine[] = "Copyright (c) 2001 Veltrano Communications";
const char AboutContactLine[] = "support@veltrano.example  -  www.veltrano.example";

void showAboutBox(HWND owner) {
    DialogBoxParamA(startupState.instance, MAKEINTRESOURCEA(IDD_ABOUT_BOX), owner, aboutBoxProc, 0);
}

INT_PTR CALLBACK aboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            setItemText(dialog, IDC_ABOUT_BANNER, VersionBanner);
            setItemText(dialog, IDC_ABOUT_MAKER, AboutMakerLine);
            setItemText(dialog, IDC_ABOUT_CONTACT, AboutContactLine);
            return TRUE;
        case WM_COMMAND:
            // The whole wParam: a notification code other than a plain click
            // (or Enter, Esc) must not close the box.
            if (wParam == IDOK || wParam == IDCANCEL) {
                EndDialog(dialog, 1);
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            EndDialog(dialog, 1);
            return TRUE;
        default:
            return FALSE;
    }
}
