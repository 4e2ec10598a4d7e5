// Decoding one input: the run's settings for the console, and what the run
// tells afterwards.

#include "input_decoding.h"

#include <cerrno>
#include <cstring>

#include "decoding_run.h"
#include "message_buffer.h"

namespace {

// Large enough that a fast pipe costs few reads; each read still returns
// with what has arrived.
constexpr std::size_t LiveStreamBlockSize = 256 * 1024;

}  // namespace

InputOutcome decodeInput(std::FILE* file, InputStream* stream, const std::string& name,
                         const ConsoleOptions& options, ReportPrinter& printer) {
    RunSettings settings = runSettingsFor(file);
    if (stream != nullptr) {
        settings.source = stream;
        settings.blockSize = LiveStreamBlockSize;
    }
    // A device named is read: only no input at all means the clipboard.
    settings.devicesAreStreams = true;
    settings.looseMarkers = options.loose;

    InputOutcome outcome;
    emptyMessageBuffer();
    printer.beginInput(name);
    // A read error cuts the report under way short: it is not printed.
    const auto readFailed = [file, stream] {
        return stream != nullptr ? !stream->failure().empty()
                                 : file != nullptr && std::ferror(file) != 0;
    };
    const ReportHandler handler = [&outcome, &printer, &readFailed](const DecodedReport& report) {
        if (readFailed()) {
            return;
        }
        outcome.reportFound = outcome.reportFound || report.line > 0;
        printer.print(report);
    };
    const ReportScope scope = options.allReports ? ReportScope::Every : ReportScope::First;
    errno = 0;
    outcome.result =
        runDecoding(file, scope, settings, printer.wantsReports() ? &handler : nullptr);
    if (stream != nullptr) {
        outcome.readFailure = stream->failure();
    } else if (file != nullptr && std::ferror(file) != 0) {
        outcome.readFailure = std::strerror(errno != 0 ? errno : EIO);
    }
    if (outcome.readFailure.empty()) {
        printer.printBuffer();
    }
    emptyMessageBuffer();
    printer.endInput();
    return outcome;
}
