// The decoding run behind decodeReport and decodeReports (decoder.h), with
// its settings open: one loop that reads the source chunk by chunk, scans
// each chunk and composes each report.
//
// The two entry points take the settings a stream calls for and keep the
// window program's rules. A console front end chooses its own here (live
// streams read through a ByteSource, devices read as streams, loose
// markers), and so do tests, fuzz targets and benchmarks: a block size to
// compare the ways of reading a log, or storage that runs out.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory_resource>

#include "byte_source.h"
#include "report_model.h"

struct RunSettings {
    // How a log stream is read: in blocks of this size (chunk_reader.h), or
    // chunk by chunk with 0.
    std::size_t blockSize = 0;
    // Where the run's storage comes from once a small buffer in the run's
    // own frame is used up: the clipboard copy and the texts rendering owns.
    std::pmr::memory_resource* upstream = std::pmr::new_delete_resource();
    // Read instead of the stream's own buffer, in blocks of blockSize (at
    // least ChunkReader::MinimumBlockSize): the run then reads a stream even
    // when it is given no file.
    ByteSource* source = nullptr;
    // A character device given as the file is read like any stream instead
    // of meaning the clipboard.
    bool devicesAreStreams = false;
    // See ScanState::looseMarkers (report_scanner.h).
    bool looseMarkers = false;
};

// What decodeReport and decodeReports use: blocks for a regular file.
RunSettings runSettingsFor(std::FILE* file);

// One decoding run. The clipboard is read when neither file nor
// settings.source is given, and for a character device unless
// settings.devicesAreStreams. With onReport null only the message buffer
// hears of the run (decodeReport); otherwise each report is also collected
// and handed to onReport (decodeReports).
int runDecoding(std::FILE* file, ReportScope scope, const RunSettings& settings,
                const ReportHandler* onReport);
