// Fetching the desktop clipboard's text with wl-paste, xclip or xsel.
//
// The tools say little through their exit codes: each fails alike for an
// empty clipboard and for a display it cannot reach. Only the second names
// the display or the connection on standard error, so that tells them apart.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "desktop_clipboard.h"
#include "memory_clipboard.h"

extern char** environ;

namespace {

constexpr auto ToolTimeout = std::chrono::seconds(5);
// What a shell answers when it cannot start a program.
constexpr int ExitNotRunnable = 127;

struct ToolRun {
    bool started = false;   // false: not installed, or it cannot be started
    bool finished = false;  // false: stopped after the timeout
    int exitCode = -1;
    std::string out;
    std::string err;
};

void closeOnExec(int fd) {
    fcntl(fd, F_SETFD, FD_CLOEXEC);
}

bool makePipe(int fds[2]) {
    if (pipe(fds) != 0) {
        return false;
    }
    closeOnExec(fds[0]);
    closeOnExec(fds[1]);
    return true;
}

// Reads the child's output and error streams until both end or the deadline
// passes. Returns false on the deadline.
bool drain(int outFd, int errFd, ToolRun& run) {
    const auto deadline = std::chrono::steady_clock::now() + ToolTimeout;
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    int open = 2;
    while (open > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        const int ready = poll(fds, 2, static_cast<int>(left.count()));
        if (ready < 0 && errno != EINTR) {
            return false;
        }
        for (int i = 0; i < 2 && ready > 0; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            char chunk[4096];
            const ssize_t got = read(fds[i].fd, chunk, sizeof chunk);
            if (got > 0) {
                sinks[i]->append(chunk, static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                fds[i].fd = -1;
                --open;
            }
        }
    }
    return true;
}

ToolRun runTool(const std::vector<std::string>& command) {
    ToolRun run;
    int outPipe[2];
    int errPipe[2];
    if (!makePipe(outPipe)) {
        return run;
    }
    if (!makePipe(errPipe)) {
        close(outPipe[0]);
        close(outPipe[1]);
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    std::vector<char*> argv;
    for (const std::string& word : command) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    if (spawned == 0) {
        run.started = true;
        const bool drained = drain(outPipe[0], errPipe[0], run);
        if (!drained) {
            kill(pid, SIGKILL);
        }
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        if (drained && WIFEXITED(status)) {
            run.finished = true;
            run.exitCode = WEXITSTATUS(status);
            run.started = run.exitCode != ExitNotRunnable;
        }
    }
    close(outPipe[0]);
    close(errPipe[0]);
    return run;
}

enum class Fetch { Text, NoText, Unreachable, NoTool, NoDisplay };

struct Fetched {
    Fetch kind;
    std::string text;
};

bool blamesTheDisplay(const std::string& err) {
    std::string lower;
    for (const char c : err) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower.find("display") != std::string::npos || lower.find("connect") != std::string::npos;
}

Fetched classify(ToolRun run) {
    if (!run.started) {
        return {Fetch::NoTool, {}};
    }
    if (!run.finished) {
        return {Fetch::Unreachable, {}};
    }
    if (run.exitCode != 0) {
        return {blamesTheDisplay(run.err) ? Fetch::Unreachable : Fetch::NoText, {}};
    }
    return {Fetch::Text, std::move(run.out)};
}

Fetched fetchWithWlPaste() {
    return classify(runTool({"wl-paste", "--no-newline", "--type", "text"}));
}

// An xclip that owns the selection answers any target with its data, so
// the targets are asked for first and a text target is requested by name.
Fetched fetchWithXclip() {
    const Fetched targets =
        classify(runTool({"xclip", "-selection", "clipboard", "-o", "-t", "TARGETS"}));
    if (targets.kind != Fetch::Text) {
        return targets;
    }
    const char* const textTargets[] = {"UTF8_STRING", "STRING", "TEXT", "text/plain;charset=utf-8",
                                       "text/plain"};
    for (const char* target : textTargets) {
        const std::string line = std::string("\n") + target + "\n";
        if (("\n" + targets.text + "\n").find(line) != std::string::npos) {
            return classify(runTool({"xclip", "-selection", "clipboard", "-o", "-t", target}));
        }
    }
    return {Fetch::NoText, {}};
}

Fetched fetchWithXsel() {
    Fetched fetched = classify(runTool({"xsel", "--clipboard", "--output"}));
    if (fetched.kind == Fetch::Text && fetched.text.empty()) {
        fetched.kind = Fetch::NoText;  // xsel answers an empty clipboard with nothing
    }
    return fetched;
}

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

Fetched fetchClipboard() {
    if (isSet("WAYLAND_DISPLAY")) {
        const Fetched fetched = fetchWithWlPaste();
        if (fetched.kind != Fetch::NoTool) {
            return fetched;
        }
    }
    if (isSet("DISPLAY")) {
        for (Fetched (*fetch)() : {fetchWithXclip, fetchWithXsel}) {
            Fetched fetched = fetch();
            if (fetched.kind != Fetch::NoTool) {
                return fetched;
            }
        }
    } else if (!isSet("WAYLAND_DISPLAY")) {
        return {Fetch::NoDisplay, {}};
    }
    return {Fetch::NoTool, {}};
}

// What the last take found.
struct DesktopClipboard {
    bool taken = false;
    MemoryClipboardState state = MemoryClipboardState::Unavailable;
    std::string text;
    Fetch kind = Fetch::NoDisplay;  // tells why it was unavailable
};

DesktopClipboard clipboard;

}  // namespace

bool takeDesktopClipboard() {
    Fetched fetched = fetchClipboard();
    MemoryClipboardState state = MemoryClipboardState::Unavailable;
    if (fetched.kind == Fetch::Text) {
        state = MemoryClipboardState::HasText;
    } else if (fetched.kind == Fetch::NoText) {
        state = MemoryClipboardState::Empty;
    }
    setMemoryClipboard(state, fetched.text);
    const bool changed =
        !clipboard.taken || state != clipboard.state || fetched.text != clipboard.text;
    clipboard.taken = true;
    clipboard.state = state;
    clipboard.text = std::move(fetched.text);
    clipboard.kind = fetched.kind;
    return changed;
}

const char* desktopClipboardProblem() {
    switch (clipboard.kind) {
        case Fetch::NoDisplay:
            return "no display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
        case Fetch::NoTool:
            return "no clipboard tool (wl-paste, xclip or xsel) is installed";
        case Fetch::Unreachable:
            return "the clipboard tool cannot reach the display";
        default:
            return nullptr;
    }
}
