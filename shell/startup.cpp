// The program's entry and exit, in the order the later steps rely on.
#include "startup.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>
#include <exception>
#include <memory>
#include <string>

#include "command_ids.h"
#include "command_line.h"
#include "main_window.h"
#include "message_boxes.h"
#include "message_buffer.h"
#include "prefix_options.h"
#include "settings.h"
#include "shell_state.h"
#include "viewer_mode.h"

namespace {

// The argument list and its texts in one heap block: the list of text
// references first, then the texts. Null when the block cannot be had.
char** splitIntoBlock(const char* argumentText, int* count) {
    std::size_t textBytes = 0;
    splitCommandLine(argumentText, nullptr, nullptr, count, &textBytes);
    std::size_t listBytes = static_cast<std::size_t>(*count) * sizeof(char*);
    void* block = HeapAlloc(GetProcessHeap(), 0, listBytes + textBytes);
    if (block == nullptr) {
        return nullptr;
    }
    char** arguments = static_cast<char**>(block);
    splitCommandLine(argumentText, arguments, static_cast<char*>(block) + listBytes, count,
                     &textBytes);
    return arguments;
}

// Flags for the arguments whose '?' stands for a character the code page
// lacks; none when the command line's own characters cannot be had.
std::unique_ptr<bool[]> findReplacedQuestionMarks(int count, char* const* arguments) {
    std::unique_ptr<bool[]> replaced(new bool[static_cast<std::size_t>(count) + 1]());
    int wideCount = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &wideCount);
    if (wide != nullptr) {
        // The first entry is the program itself.
        replacedQuestionMarks(count, arguments, wideCount - 1, wide + 1, replaced.get());
        LocalFree(wide);
    }
    return replaced;
}

// The window's settings: the command line's, with settings filling in what it left open.
void applySettings(const std::string& settingsPath, CommandLineOptions* options,
                   WindowSettings* settings) {
    if (options->prefix.choice == PrefixChoice::NotGiven) {
        char prefix[PrefixSettingSize] = {};
        readPrefixSetting(settingsPath, prefix);
        if (prefix[0] != '\0') {
            options->prefix.choice = PrefixChoice::Text;
            options->prefix.text = prefix;
        }
    }
    settings->text.style.prefix = linePrefixFor(options->prefix);
    if (options->fileName == nullptr) {
        readOpenFileNameSetting(settingsPath, settings->fileNameSetting);
    }
    const bool fromSetting = settings->fileNameSetting[0] != '\0';
    settings->startupFileName = fromSetting ? settings->fileNameSetting : options->fileName;
}

void initCommonControls() {
    SetLastError(0);
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = 8;
    controls.dwICC = ICC_BAR_CLASSES;
    if (!InitCommonControlsEx(&controls)) {
        showSystemErrorBox("cannot init common controls");
    }
}

int runMessageLoop(HWND mainWindow, HACCEL accelerators) {
    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        handleLoopMessage(&message, mainWindow, accelerators);
    }
    return static_cast<int>(message.wParam);
}

int runWindow(const WindowSettings& settings) {
    // Running out of memory ends the program, but only after it has left the
    // clipboard viewer chain. Nothing here throws but a failed allocation, so
    // an exception that ends the program is one of those too.
    setOutOfMemoryHandler(leaveViewerChainAtExit);
    std::set_terminate(stopOutOfMemory);
    if (!createMessageBuffer()) {
        showSystemErrorBox("memory alocation failed");
        return 1;
    }
    initCommonControls();
    HWND mainWindow =
        CreateDialogParamA(startupState.instance, MAKEINTRESOURCEA(IDD_MAIN_WINDOW), nullptr,
                           mainWindowProc, reinterpret_cast<LPARAM>(&settings));
    if (mainWindow == nullptr) {
        showSystemErrorBox("cannot create window");
        releaseMessageBuffer();
        return 0;
    }
    HACCEL accelerators =
        LoadAcceleratorsA(startupState.instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    int exitCode = runMessageLoop(mainWindow, accelerators);
    releaseMessageBuffer();
    if (IsWindow(mainWindow)) {
        DestroyWindow(mainWindow);
    }
    return exitCode;
}

}  // namespace

void handleLoopMessage(MSG* message, HWND mainWindow, HACCEL accelerators) {
    // Accelerators come first so that Ctrl+V or F5 pressed in the report view
    // become commands of the main window instead of edit-control keys.
    if (TranslateAcceleratorA(mainWindow, accelerators, message)) {
        return;
    }
    if (IsDialogMessageA(mainWindow, message)) {
        return;
    }
    TranslateMessage(message);
    DispatchMessageA(message);
}

int runProgram(HINSTANCE instance, const char* argumentText) {
    startupState.instance = instance;
    int count = 0;
    char** arguments = splitIntoBlock(argumentText, &count);
    if (arguments == nullptr) {
        showSystemErrorBox("memory alocation failed");
        return 1;
    }
    CommandLineOptions options;
    std::string settingsPath = settingsFilePath();
    viewerState.on = readClipboardViewerSetting(settingsPath) != 0;

    int exitCode = 0;
    const std::unique_ptr<bool[]> replaced = findReplacedQuestionMarks(count, arguments);
    if (!parseOptions(count, arguments, &options, &viewerState.on, replaced.get())) {
        showUsageBox();
    } else {
        WindowSettings settings;
        applySettings(settingsPath, &options, &settings);
        exitCode = runWindow(settings);
    }
    HeapFree(GetProcessHeap(), 0, arguments);
    return exitCode;
}
