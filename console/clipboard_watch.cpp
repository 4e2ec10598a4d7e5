// Watching the clipboard: a poll of its change count, in short sleeps so an
// interruption ends the watch at once.

#include "clipboard_watch.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>

#include "desktop_clipboard.h"
#include "exit_status.h"
#include "input_decoding.h"

namespace {

constexpr auto WatchInterval = std::chrono::milliseconds(500);
constexpr auto WatchStep = std::chrono::milliseconds(50);

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int) {
    interrupted = 1;
}

std::string clockTime() {
    const std::time_t now = std::time(nullptr);
    char text[16] = "";
    const std::tm* local = std::localtime(&now);
    if (local != nullptr) {
        std::strftime(text, sizeof text, "%H:%M:%S", local);
    }
    return text;
}

}  // namespace

int watchClipboard(const ConsoleOptions& options, OutputWriter& writer) {
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    long decoded = 0;
    while (interrupted == 0) {
        if (takeDesktopClipboard()) {
            // A clipboard that cannot be had at all at the start never will
            // be: nothing would ever change, and the watch would wait forever.
            if (decoded == 0 && desktopClipboardProblem() != nullptr) {
                complain(std::string("cannot open the clipboard to watch: ") +
                         desktopClipboardProblem());
                return ExitFailure;
            }
            ++decoded;
            writer.ownLine("=== clipboard " + std::to_string(decoded) + " at " + clockTime() +
                           " ===");
            ConsoleInput clipboard;
            clipboard.name = "clipboard";
            decodeInput(clipboard, options, writer);
            if (options.watchCount > 0 && decoded >= options.watchCount) {
                break;
            }
        }
        for (auto waited = std::chrono::milliseconds(0); waited < WatchInterval && interrupted == 0;
             waited += WatchStep) {
            std::this_thread::sleep_for(WatchStep);
        }
    }
    return 0;
}
