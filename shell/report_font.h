// The report view's font. The view asks for the template's fixed-pitch
// face; where the system has no such face and gave a proportional one, the
// report's padded columns would not line up, so the view gets a fixed-pitch
// font of the same size instead. After a DPI change the view gets its font
// again at the new size. A font made here is owned by the window state and
// released with releaseReportFont.
#pragma once

#include <windows.h>

// At start: keeps the view's font if it is fixed-pitch, else replaces it.
void checkReportFont(HWND view);

// The view's font again, from fromDpi to toDpi.
void rescaleReportFont(HWND view, int fromDpi, int toDpi);

// Deletes the font made here, once the view no longer uses it.
void releaseReportFont();
