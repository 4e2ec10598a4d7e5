// Decoding one input: the run's settings for the console, and what the run
// tells afterwards.

#include "input_decoding.h"

#include <cerrno>
#include <cstring>

#include "decoding_run.h"
#include "file_bytes.h"
#include "system_clipboard.h"

namespace {

// Large enough that a fast pipe costs few reads; each read still returns
// with what has arrived.
constexpr std::size_t LiveStreamBlockSize = 256 * 1024;

struct DropText {
    DropKind kind;
    const char* text;
};

const DropText DropTexts[] = {
    {DropKind::EndOfText,
     "a 0x1A byte ends the text as the window reads it, and more follows; --loose reads on"},
    {DropKind::LongLine,
     "a block's line is longer than 511 characters, which the window reads in pieces; --loose "
     "reads it whole"},
    {DropKind::NulByte,
     "a NUL byte hides the rest of the line from the window's reading; --loose reads it whole"},
    {DropKind::Encoded,
     "the input is gzip data or UTF-16 text, which the window reads as bytes; --loose decodes it"},
    {DropKind::MergedCall,
     "a block sets a key the report already holds, so two calls merge into one report (an OK "
     "lost); --loose starts a new report there"},
    {DropKind::MarkerInside,
     "a block marker stands after other text (a time stamp, colour codes, a byte order mark), "
     "and the window drops the block; --loose reads it"},
    {DropKind::DamagedMarker,
     "a block's marker is damaged (a byte, its case or its spacing), and the window drops the "
     "block; --loose reads it"},
};

}  // namespace

InputOutcome decodeInput(const ConsoleInput& input, const ConsoleOptions& options,
                         OutputWriter& writer) {
    RunSettings settings;
    if (input.stream != nullptr) {
        settings.blockSize = LiveStreamBlockSize;
    }
    settings.scope = options.allReports ? ReportScope::Every : ReportScope::First;
    settings.looseMarkers = options.loose;
    // A serial line has no window rules to keep.
    settings.looseReading = options.loose || input.asPort;
    settings.noteDrops = !settings.looseReading;
    settings.reportItemLimit = writer.keepsWholeReports() ? ReportItemLimit : 0;

    writer.beginInput(input.name, fileNameInUtf8(input.name));
    errno = 0;
    InputOutcome outcome;
    RunOutcome& run = outcome;
    if (input.stream != nullptr) {
        run = decodeReports(*input.stream, settings, writer);
    } else if (input.file != nullptr) {
        run = decodeFile(input.file, settings, writer);
    } else {
        SystemClipboard clipboard;
        run = decodeClipboard(clipboard, settings, writer);
    }
    writer.endInput();
    if (run.readFailed) {
        outcome.readFailure = input.stream != nullptr ? input.stream->failure()
                                                      : std::strerror(errno != 0 ? errno : EIO);
    }
    return outcome;
}

std::vector<std::string> dropWarnings(const WindowDrops& drops) {
    std::vector<std::string> warnings;
    for (const DropPlace& place : drops.places) {
        for (const DropText& text : DropTexts) {
            if (text.kind == place.kind) {
                warnings.push_back("line " + std::to_string(place.line) + ": " + text.text);
            }
        }
    }
    if (drops.count > drops.places.size() && !warnings.empty()) {
        warnings.back() +=
            " (and " + std::to_string(drops.count - drops.places.size()) + " more places)";
    }
    return warnings;
}
