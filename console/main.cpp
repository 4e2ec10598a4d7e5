// vexa-decode: decodes modem logs, standard input, a serial port or the
// clipboard, and writes the decoded reports to standard output. One log and
// no option give exactly the text the window program shows, CR LF line ends
// included; the options go further than the window.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "clipboard_watch.h"
#include "console_output.h"
#include "desktop_clipboard.h"
#include "exit_status.h"
#include "file_bytes.h"
#include "input_decoding.h"
#include "input_names.h"
#include "options.h"
#include "port_query.h"
#include "streams.h"

namespace {

int statusOf(const InputOutcome& outcome, const ConsoleOptions& options) {
    if (!outcome.readFailure.empty() || outcome.clipboardUnread || outcome.inputDamaged ||
        outcome.compression != nullptr) {
        return ExitFailure;
    }
    return inputStatus(outcome.blockFound, options.requireReport);
}

// A log named on the command line, or "-" for standard input.
int decodeNamed(const std::string& name, const ConsoleOptions& options, StandardOutput& output,
                OutputWriter& writer) {
    std::FILE* file = stdin;
    if (name != "-") {
        std::string failure;
        file = openLog(name, &failure);
        if (file == nullptr) {
            complain(name, failure);
            return ExitFailure;
        }
    }
    const std::unique_ptr<InputStream> stream = liveStreamFor(file);
    output.setLiveInput(stream != nullptr);
    ConsoleInput input;
    input.name = name;
    input.stream = stream.get();
    input.file = file;
    const InputOutcome outcome = decodeInput(input, options, writer);
    if (file != stdin) {
        std::fclose(file);
    }
    const std::string shownName = name == "-" ? "standard input" : name;
    if (!outcome.readFailure.empty()) {
        complain(shownName, outcome.readFailure);
    }
    if (outcome.compression != nullptr) {
        // Its bytes hold no text: what else the reading says would mislead.
        const std::string program = outcome.compression;
        complain(shownName, program + "-compressed; unpack it first (" + program + " -dc " +
                                (name == "-" ? std::string() : name + " ") + "| vexa-decode -)");
        return statusOf(outcome, options);
    }
    if (outcome.inputDamaged) {
        complain(shownName,
                 "the gzip data is damaged or cut short; the reports before it are kept");
    }
    for (const std::string& warning : dropWarnings(outcome.drops)) {
        complain(shownName, warning);
    }
    return statusOf(outcome, options);
}

// No input named: standard input, unless it is a terminal (nothing piped
// in) or --clipboard asks for the clipboard.
int decodeUnnamed(const ConsoleOptions& options, StandardOutput& output, OutputWriter& writer) {
    if (!options.clipboard && !isCharacterDevice(stdin)) {
        return decodeNamed("-", options, output, writer);
    }
    takeDesktopClipboard();
    ConsoleInput clipboard;
    clipboard.name = "clipboard";
    return statusOf(decodeInput(clipboard, options, writer), options);
}

// 0 when standard output took everything; else says why not.
int outputWritten(StandardOutput& output, const char* what) {
    const std::string reason = output.finish();
    if (reason.empty()) {
        return 0;
    }
    complain(std::string(what) + ": " + reason);
    return ExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    StandardOutput output;
    const ParsedOptions parsed = parseConsoleOptions(args);
    switch (parsed.action) {
        case OptionsAction::Help:
            std::printf("%s\n\n%s\n", UsageText, HelpText);
            return outputWritten(output, "cannot write the help");
        case OptionsAction::Version:
            std::printf("%s\n", VersionText);
            return outputWritten(output, "cannot write the version");
        case OptionsAction::Usage:
            complain(parsed.problem + "\n" + UsageText);
            return ExitUsage;
        case OptionsAction::Decode:
            break;
    }
    const ConsoleOptions& options = parsed.options;
    if (!parsed.plusArgument.empty()) {
        if (std::FILE* named = std::fopen(parsed.plusArgument.c_str(), "rb")) {
            std::fclose(named);
            complain(parsed.plusArgument,
                     "taken as the prefix option, though a file has that name; "
                     "to decode the file, name it after --");
        }
    }

    writeStandardOutputAsIs();
    // Large writes: a run of many reports costs few system calls. Live
    // input flushes each report anyway (console_output.h). The buffer is
    // given: glibc takes no size without one, and keeps to 4 kB.
    static char outputBuffer[256 * 1024];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
    const bool several =
        options.sources.size() > 1 || !options.filesFrom.empty() || options.recursive;
    const std::unique_ptr<OutputWriter> writer = makeOutputWriter(output, options, several);

    int status = 0;
    if (options.watch) {
        status = watchClipboard(options, *writer);
    } else if (!options.port.empty()) {
        status = queryPort(options, *writer);
    } else if (options.sources.empty() && options.filesFrom.empty()) {
        status = decodeUnnamed(options, output, *writer);
    } else {
        InputNames names(options);
        std::string name;
        std::string problem;
        while (names.next(&name, &problem)) {
            if (!problem.empty()) {
                complain(name, problem);
                status = worse(status, ExitFailure);
                continue;
            }
            status = worse(status, decodeNamed(name, options, output, *writer));
        }
    }
    writer->finish();
    return worse(status, outputWritten(output, "cannot write the report"));
}
