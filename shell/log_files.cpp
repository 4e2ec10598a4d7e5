// Loading log files and saving reports.
#include "log_files.h"

#include <share.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include "message_boxes.h"
#include "process_clipboard.h"
#include "report_display.h"
#include "report_header.h"
#include "shell_state.h"

FileDialogFunction runSaveDialog = GetSaveFileNameA;
FileDialogFunction runOpenDialog = GetOpenFileNameA;

namespace {

int closeFile(std::FILE* file) {
    return std::fclose(file);
}

}  // namespace

CloseFileFunction closeSavedFile = closeFile;

namespace {

static_assert(sizeof(void*) != 4 || offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76,
              "the 32-bit record without the Windows 2000 fields is 76 bytes");

// Double-zero terminated: the literal's own zero ends the list.
const char LogFileFilter[] = "Log Files (*.log)\0*.log\0All Files (*.*)\0*.*\0";

OPENFILENAMEA dialogRequest(HWND owner, char* name, DWORD flags) {
    OPENFILENAMEA request = {};
    // The size of the record without the Windows 2000 fields, so that older
    // dialogs accept it too.
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    request.hwndOwner = owner;
    request.lpstrFilter = LogFileFilter;
    request.nFilterIndex = 1;
    request.lpstrFile = name;
    request.nMaxFile = PathBufferSize;
    request.Flags = flags;
    request.lpstrDefExt = "log";
    return request;
}

// The report view's whole text, zero-terminated; null (errno set) when the
// storage cannot be had.
char* copyReportViewText() {
    LRESULT length = SendMessageA(windowState.reportView, WM_GETTEXTLENGTH, 0, 0);
    std::size_t size = static_cast<std::size_t>(length) + 1;
    char* text = static_cast<char*>(std::malloc(size));
    if (text != nullptr) {
        text[0] = '\0';
        SendMessageA(windowState.reportView, WM_GETTEXT, size, reinterpret_cast<LPARAM>(text));
    }
    return text;
}

void writeReportFile(const char* path, const std::string& prefix, const char* text) {
    std::FILE* file = _fsopen(path, "wb", _SH_DENYWR);
    if (file == nullptr) {
        showFileErrorBox("Cannot create file");
        return;
    }
    std::fputs(reportHeader(prefix.c_str()).c_str(), file);
    std::fputs(text, file);
    // The rest of a small report is still buffered here, so a full disk may
    // show only in the final flush. Flush explicitly: some C runtimes'
    // fclose drops the flush's failure from its result.
    bool failed = std::ferror(file) != 0 || std::fflush(file) != 0;
    if (failed) {
        showFileErrorBox("cannot save file");
    }
    if (closeSavedFile(file) != 0 && !failed) {
        showFileErrorBox("cannot save file");
    }
}

}  // namespace

void saveReport(HWND owner, const std::string& prefix) {
    OPENFILENAMEA request = dialogRequest(
        owner, logFileState.saveDialogName,
        OFN_OVERWRITEPROMPT | OFN_EXTENSIONDIFFERENT | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN);
    if (!runSaveDialog(&request)) {
        return;
    }
    char* text = copyReportViewText();
    if (text == nullptr) {
        showFileErrorBox("cannot save file");
        return;
    }
    writeReportFile(logFileState.saveDialogName, prefix, text);
    std::free(text);
}

void openLogFile(HWND owner, const TextSettings& text) {
    OPENFILENAMEA request = dialogRequest(
        owner, logFileState.openDialogName,
        OFN_READONLY | OFN_EXTENSIONDIFFERENT | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST);
    if (runOpenDialog(&request)) {
        loadLogFile(logFileState.openDialogName, text);
    }
}

void loadLogFile(const char* path, const TextSettings& text) {
    std::FILE* file = _fsopen(path, "rt", _SH_DENYWR);
    if (file == nullptr) {
        showFileErrorBox("Cannot open file");
        return;
    }
    const bool decoded = decodeGuarded(file, text);
    std::fclose(file);
    if (decoded) {
        showMessageBuffer();
        showReportSource(path);
    }
}
