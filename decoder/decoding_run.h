// The decoding run behind decodeReport and decodeReports (decoder.h), with
// its settings open: one loop that reads the source chunk by chunk, scans
// each chunk and composes each report.
//
// The two entry points take the settings a stream calls for. Tests, fuzz
// targets and benchmarks choose their own here: a block size to compare the
// two ways of reading a log, or storage that runs out.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory_resource>

#include "report_model.h"

struct RunSettings {
    // How a log stream is read: in blocks of this size (chunk_reader.h), or
    // chunk by chunk with 0.
    std::size_t blockSize = 0;
    // Where the run's storage comes from once a small buffer in the run's
    // own frame is used up: the clipboard copy and the texts rendering owns.
    std::pmr::memory_resource* upstream = std::pmr::new_delete_resource();
};

// What decodeReport and decodeReports use: blocks for a regular file.
RunSettings runSettingsFor(std::FILE* file);

// One decoding run. With onReport null only the message buffer hears of it
// (decodeReport); otherwise each report is also collected and handed to
// onReport (decodeReports).
int runDecoding(std::FILE* file, ReportScope scope, const RunSettings& settings,
                const ReportHandler* onReport);
