// Log files and saved reports: the open and save dialogs, decoding a log
// file named by path, writing the shown report with the report header, and
// the file-error box for what fails on the way.
//
// The two dialogs remember their last names separately, in memory only
// (shell_state.h).
// Both go through replaceable functions (GetOpenFileNameA and
// GetSaveFileNameA unless a test answers instead).
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <cstdio>

#include "output_writer.h"

using FileDialogFunction = BOOL(WINAPI*)(OPENFILENAMEA* request);
extern FileDialogFunction runSaveDialog;
extern FileDialogFunction runOpenDialog;

// Closes a saved file: std::fclose, unless a test stands in a close that
// fails the way a full disk does at the final flush.
using CloseFileFunction = int (*)(std::FILE* file);
extern CloseFileFunction closeSavedFile;

// Save dialog, then the prefixed header and the report view's text into the file.
void saveReport(HWND owner, const std::string& prefix);
// Open dialog, then loadLogFile with the chosen name.
void openLogFile(HWND owner, const TextSettings& text);
// Decodes the file and shows the result, the path in the source pane. A
// file that cannot be opened leaves everything as it was, and so does a
// load asked for from inside another decoding run (process_clipboard.h).
void loadLogFile(const char* path, const TextSettings& text);
