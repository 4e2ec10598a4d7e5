// Resource and command ids, shared by resources/vexa.rc and the C++ code.
// Plain #defines only: the resource compiler reads this file too.
#pragma once

// Dialog templates, menu, accelerators.
#define IDD_MAIN_WINDOW 101
#define IDD_ABOUT_BOX 103
#define IDR_MAIN_MENU 101
#define IDR_ACCELERATORS 102

// Icons: the program's own, and the viewer pane's on/off pictures.
#define IDI_PROGRAM 101
#define IDI_VIEWER_ON 104
#define IDI_VIEWER_OFF 105

// Controls.
#define IDC_REPORT_VIEW 1000
#define IDC_STATUS_BAR 1001
#define IDC_ABOUT_BANNER 1002
#define IDC_ABOUT_MAKER 1003
#define IDC_ABOUT_CONTACT 1004

// Commands. Each help string in the string table has its command's id.
#define IDM_CLOSE 8
#define IDM_SAVE_REPORT 40001
#define IDM_LOAD_LOG_FILE 40002
#define IDM_PROCESS_CLIPBOARD 40003
#define IDM_SELECT_ALL 40004
#define IDM_ABOUT 40005
#define IDM_CLIPBOARD_VIEWER 40006
