// The decoding run, the report decoder's entry point: it reads modem
// diagnostic text from a byte source (a log, a live stream) or from a
// clipboard source, each given by its front end, and hands every report it
// finds to a writer (report_writer.h) as values. It writes no text of its
// own and shows nothing: each front end's writers make the output.
//
// Streams are read with the semantics of the Windows text mode on every
// platform, so a log decodes to the same values everywhere.
//
// With ReportScope::First the run stops at the "OK" line that ends the first
// report. With ReportScope::Every it goes on: the next input line with a
// marker begins the next report, and every report begins with fresh value
// slots. Input after the last report that holds no block gives nothing. An
// input without any block gives one report without a line, whose message is
// "no recognizable data found!"; a clipboard that cannot be read gives one
// report holding its one message.
//
// With loose reading (loose_reader.h) a stream is read as it comes instead:
// line ends of every kind, NUL and 0x1A skipped, lines whole, wrapped
// blocks joined, gzip and UTF-16 decoded; each report's messages end with
// what was mended for it. A report cut short by the input's end, or by the
// item limit, is marked with the reason.
//
// Everything the run builds belongs to the run and is released when it
// returns.
#pragma once

#include <cstddef>

#include "byte_source.h"
#include "clipboard_source.h"
#include "report_writer.h"
#include "window_drops.h"

struct RunSettings {
    ReportScope scope = ReportScope::First;
    // A stream is read in blocks of this size (chunk_reader.h): large
    // enough that reading costs little, small enough to stay in the cache.
    std::size_t blockSize = 64 * 1024;
    // See ScanState::looseMarkers (report_scanner.h).
    bool looseMarkers = false;
    // Read a stream as it comes (loose_reader.h) instead of as the window
    // reads a log.
    bool looseReading = false;
    // Note where the window's reading drops text (RunOutcome::drops).
    bool noteDrops = false;
    // A report that has held more blocks and tokens than this ends there,
    // cut short (CutReason::TooLong), with a message; 0: no limit, as in
    // the window. Real reports hold a few dozen.
    std::size_t reportItemLimit = 0;
};

// A limit far above any real report, that keeps a report's output small.
constexpr std::size_t ReportItemLimit = 4096;

struct RunOutcome {
    // The clipboard could not be read (its one message is the run's only
    // report): what the window's decodeReport returned as 1.
    bool clipboardUnread = false;
    // Reading the stream failed: the report under way then was the last,
    // marked readFailed.
    bool readFailed = false;
    // A report held a block.
    bool blockFound = false;
    // With noteDrops: where the window's reading dropped text.
    WindowDrops drops;
    // The loose reading's gzip data ended damaged or cut short: the reports
    // before the damage were handed out.
    bool inputDamaged = false;
    // The input is data of a compressor that is not read ("xz", "bzip2",
    // "zstd", "lz4"), in either reading; null otherwise.
    const char* compression = nullptr;
};

RunOutcome decodeReports(ByteSource& source, const RunSettings& settings, ReportWriter& writer);
RunOutcome decodeClipboard(ClipboardSource& clipboard, const RunSettings& settings,
                           ReportWriter& writer);
