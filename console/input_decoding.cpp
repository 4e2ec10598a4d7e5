// Decoding one input: the run's settings for the console, and what the run
// tells afterwards.

#include "input_decoding.h"

#include <cerrno>
#include <cstring>

#include "decoding_run.h"

namespace {

// Large enough that a fast pipe costs few reads; each read still returns
// with what has arrived.
constexpr std::size_t LiveStreamBlockSize = 256 * 1024;

}  // namespace

InputOutcome decodeInput(std::FILE* file, InputStream* stream, const std::string& name,
                         const ConsoleOptions& options, OutputWriter& writer) {
    RunSettings settings;
    if (stream != nullptr) {
        settings.source = stream;
        settings.blockSize = LiveStreamBlockSize;
    }
    settings.scope = options.allReports ? ReportScope::Every : ReportScope::First;
    // A device named is read: only no input at all means the clipboard.
    settings.devicesAreStreams = true;
    settings.looseMarkers = options.loose;

    writer.beginInput(name);
    errno = 0;
    const RunOutcome run = decodeReports(file, settings, writer);
    writer.endInput();
    InputOutcome outcome;
    outcome.clipboardUnread = run.clipboardUnread;
    outcome.reportFound = run.blockFound;
    if (run.readFailed) {
        outcome.readFailure =
            stream != nullptr ? stream->failure() : std::strerror(errno != 0 ? errno : EIO);
    }
    return outcome;
}
