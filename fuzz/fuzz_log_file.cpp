// Fuzzes the decoding run over a log file. The first byte picks the line
// prefix; the remaining bytes are the log, read through a memory stream.
// With a prefix, the same log is decoded again without one: the two texts
// must differ by nothing but the prefixes. The log is also decoded reading
// small blocks, and as a live stream that hands it out in pieces of a few
// bytes, which must change nothing, for one report and for every report,
// nor where the window's reading says a damaged marker hid a block.
// Every report is also decoded with loose markers, which must not break the
// run's bookkeeping.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "decoding_run.h"
#include "file_bytes.h"
#include "output_checks.h"

namespace {

// Small enough that a fuzz input spans many blocks.
constexpr std::size_t BlockSize = 1024;

std::vector<std::string> decodeLog(const std::uint8_t* data, std::size_t size, const char* prefix,
                                   std::size_t blockSize = RunSettings().blockSize) {
    MemoryLog log(data, size);
    RunSettings settings;
    settings.blockSize = blockSize;
    CheckedText writer(prefix);
    const RunOutcome outcome = decodeFile(log.stream(), settings, writer);
    require(!outcome.clipboardUnread && !outcome.readFailed, "a memory stream is read whole");
    return linesOf(writer.text, prefix);
}

enum class Reading { Blocks, SmallBlocks, Live, Loose };

// Every report's text, where it began and whether its OK came.
std::string decodeEveryReport(const std::uint8_t* data, std::size_t size, Reading reading) {
    MemoryLog log(data, size);
    PieceSource live(data, size, size, true);
    RunSettings settings;
    if (reading == Reading::SmallBlocks) {
        settings.blockSize = BlockSize;
    }
    settings.looseMarkers = reading == Reading::Loose;
    settings.scope = ReportScope::Every;
    settings.noteDrops = reading != Reading::Loose;
    CheckedText writer("");
    const RunOutcome outcome = reading == Reading::Live
                                   ? decodeReports(live, settings, writer)
                                   : decodeFile(log.stream(), settings, writer);
    linesOf(writer.text, "");
    // The lines where a damaged marker hid a block, in any order.
    std::vector<std::size_t> damaged;
    for (const DropPlace& place : outcome.drops.places) {
        if (place.kind == DropKind::DamagedMarker) {
            damaged.push_back(place.line);
        }
    }
    std::sort(damaged.begin(), damaged.end());
    std::string text = writer.reports;
    for (const std::size_t line : damaged) {
        text += " damaged:" + std::to_string(line);
    }
    return text;
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
            "reading in small blocks changes nothing");
    const std::string reports = decodeEveryReport(data + 1, size - 1, Reading::Blocks);
    require(decodeEveryReport(data + 1, size - 1, Reading::SmallBlocks) == reports,
            "reading in small blocks changes no report");
    require(decodeEveryReport(data + 1, size - 1, Reading::Live) == reports,
            "reading a live stream changes no report");
    decodeEveryReport(data + 1, size - 1, Reading::Loose);
    if (*prefix != '\0') {
        require(decodeLog(data + 1, size - 1, "") == lines, "the prefix changes nothing else");
    }
    return 0;
}
