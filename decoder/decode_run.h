// The decoding run with its storage made explicit, for tests that need the
// run's storage to run out; with the way of reading a log stream made
// explicit, for tests that compare reading in blocks with reading chunk by
// chunk; and its clipboard step, which the watched runs of report_model.h
// share.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory_resource>

#include "report_model.h"
#include "run_observer.h"

// decodeReport, with owned texts and the clipboard copy taken from a small
// buffer in the run's frame and then from upstream.
int decodeReportWithStorage(std::FILE* file, std::pmr::memory_resource& upstream);

// decodeReport and decodeReports reading a stream in blocks of blockSize
// (ChunkReader, chunk_reader.h; 0 is chunk by chunk) whatever the stream is.
int decodeReportInBlocks(std::FILE* file, std::size_t blockSize,
                         std::pmr::memory_resource& upstream = *std::pmr::new_delete_resource());
int decodeReportsInBlocks(std::FILE* file, std::size_t blockSize, ReportScope scope,
                          const ReportHandler& onReport);

struct ClipboardCopy {
    // The clipboard text from its first marker on, or null when the
    // clipboard gave nothing to scan (one message has then been appended).
    char* text = nullptr;
    // Line feeds in the clipboard text before the copy's start (counted
    // only for an observer).
    std::size_t lineFeedsBefore = 0;
};

// The clipboard step of a decoding run: opens the clipboard, copies its text
// into storage and closes it again on every path.
ClipboardCopy copyClipboardReport(std::pmr::memory_resource& storage,
                                  RunObserver* observer = nullptr);
