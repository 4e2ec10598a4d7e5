// Fuzzes the decoding run over a log file. The first byte picks the line
// prefix; the remaining bytes are the log, read through a memory stream.
// With a prefix, the same log is decoded again without one: the two outputs
// must differ by nothing but the prefixes. Memory streams are read chunk by
// chunk; the log is also decoded reading small blocks, which must change
// nothing, for one report and for every report.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "decoder.h"
#include "decoding_run.h"
#include "message_buffer.h"
#include "output_checks.h"

namespace {

// Small enough that a fuzz input spans many blocks.
constexpr std::size_t BlockSize = 1024;

std::vector<std::string> decodeLog(const std::uint8_t* data, std::size_t size, const char* prefix,
                                   std::size_t blockSize = 0) {
    MemoryLog log(data, size);
    startRun(prefix);
    const int result = blockSize == 0 ? decodeReport(log.stream())
                                      : runDecoding(log.stream(), ReportScope::First,
                                                    RunSettings{blockSize}, nullptr);
    require(result == 0, "a file run returns 0");
    return finishRun(prefix);
}

// Every report's text and where it began.
std::string decodeEveryReport(const std::uint8_t* data, std::size_t size, std::size_t blockSize) {
    MemoryLog log(data, size);
    std::string reports;
    startRun("");
    const ReportHandler collect = [&reports](const DecodedReport& report) {
        reports += std::to_string(report.line) + ":";
        reports.append(messageBufferText(), messageBufferLength());
        emptyMessageBuffer();
    };
    runDecoding(log.stream(), ReportScope::Every, RunSettings{blockSize}, &collect);
    finishRun("");
    return reports;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const char* prefix = fuzzPrefix(data[0]);
    const std::vector<std::string> lines = decodeLog(data + 1, size - 1, prefix);
    checkScanOutput(lines);
    require(decodeLog(data + 1, size - 1, prefix, BlockSize) == lines,
            "reading in blocks changes nothing");
    require(decodeEveryReport(data + 1, size - 1, BlockSize) ==
                decodeEveryReport(data + 1, size - 1, 0),
            "reading in blocks changes no report");
    if (*prefix != '\0') {
        require(decodeLog(data + 1, size - 1, "") == lines, "the prefix changes nothing else");
    }
    return 0;
}
