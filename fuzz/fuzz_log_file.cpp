// Fuzzes the decoding run over a log file. The first byte picks the line
// prefix; the remaining bytes are the log, read through a memory stream.
// With a prefix, the same log is decoded again without one: the two outputs
// must differ by nothing but the prefixes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "decoder.h"
#include "output_checks.h"

namespace {

std::vector<std::string> decodeLog(const std::uint8_t* data, std::size_t size, const char* prefix) {
    MemoryLog log(data, size);
    startRun(prefix);
    require(decodeReport(log.stream()) == 0, "a file run returns 0");
    return finishRun(prefix);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const char* prefix = fuzzPrefix(data[0]);
    const std::vector<std::string> lines = decodeLog(data + 1, size - 1, prefix);
    checkScanOutput(lines);
    if (*prefix != '\0') {
        require(decodeLog(data + 1, size - 1, "") == lines, "the prefix changes nothing else");
    }
    return 0;
}
