#include "chunk_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "decoding_run.h"
#include "test_support.h"
#include "text_reader.h"

namespace {

// Reading in blocks must give what reading chunk by chunk gives; Windows
// only ever reads chunk by chunk, through its C runtime's translation.
#ifdef _WIN32
#define SKIP_WITHOUT_BLOCK_READING() GTEST_SKIP() << "logs are read chunk by chunk here"
#else
#define SKIP_WITHOUT_BLOCK_READING() static_cast<void>(0)
#endif

const std::size_t BlockSizes[] = {ChunkReader::MinimumBlockSize, 1025, 1031, 1536, 4096, 65536};

struct ReadChunk {
    // Up to the first NUL; where a NUL hid a line feed, the next chunk's line
    // tells.
    std::string text;
    std::size_t line;

    bool operator==(const ReadChunk& other) const {
        return text == other.text && line == other.line;
    }
};

void PrintTo(const ReadChunk& chunk, std::ostream* out) {
    *out << "line " << chunk.line << ": " << ::testing::PrintToString(chunk.text);
}

// Hands read a log file holding bytes, opened as a log is opened, and
// closes it afterwards.
template <typename Read>
void withLogFile(const std::string& bytes, Read read) {
    TempFile log(bytes);
    std::FILE* file = log.openText();
    if (file == nullptr) {
        ADD_FAILURE() << "cannot open " << log.path();
        return;
    }
    read(file);
    std::fclose(file);
}

// The chunks readChunk gives and the line each begins on, counted the way
// the watched runs always counted them.
std::vector<ReadChunk> referenceChunks(const std::string& bytes) {
    std::vector<ReadChunk> chunks;
    withLogFile(bytes, [&chunks](std::FILE* file) {
        char buffer[ChunkReader::ChunkSize];
        std::size_t line = 1;
        for (;;) {
            std::memset(buffer, 0, sizeof buffer);
            if (readChunk(buffer, sizeof buffer, file) == nullptr) {
                break;
            }
            const bool endsLine = std::memchr(buffer, '\n', sizeof buffer - 1) != nullptr;
            chunks.push_back({buffer, line});
            line += endsLine ? 1 : 0;
        }
    });
    return chunks;
}

// Every chunk a ChunkReader hands out when asked to skip nothing.
std::vector<ReadChunk> readerChunks(const std::string& bytes, std::size_t blockSize) {
    std::vector<ReadChunk> chunks;
    withLogFile(bytes, [&chunks, blockSize](std::FILE* file) {
        ChunkReader reader(file, blockSize, true);
        while (const char* chunk = reader.next(false)) {
            chunks.push_back({chunk, reader.line()});
        }
        EXPECT_EQ(nullptr, reader.next(false)) << "the end stays the end";
    });
    return chunks;
}

// A live stream: the bytes arrive in pieces of 1 to maxPiece bytes, as a
// pipe or a serial port hands them out.
class TrickleSource : public ByteSource {
  public:
    TrickleSource(const std::string& bytes, std::size_t maxPiece)
        : bytes_(bytes), maxPiece_(maxPiece) {}

    std::ptrdiff_t readSome(char* buffer, std::size_t size) override {
        state_ = state_ * 1103515245u + 12345u;
        std::size_t count = 1 + (state_ >> 8) % maxPiece_;
        count = std::min({count, size, bytes_.size() - at_});
        std::memcpy(buffer, bytes_.data() + at_, count);
        at_ += count;
        return static_cast<std::ptrdiff_t>(count);
    }

  private:
    const std::string& bytes_;
    std::size_t maxPiece_;
    std::size_t at_ = 0;
    std::uint32_t state_ = 7;
};

const std::size_t PieceSizes[] = {1, 3, 40, 700, 5000};

std::vector<ReadChunk> sourceChunks(const std::string& bytes, std::size_t maxPiece) {
    std::vector<ReadChunk> chunks;
    TrickleSource source(bytes, maxPiece);
    ChunkReader reader(nullptr, ChunkReader::MinimumBlockSize, true, &source);
    while (const char* chunk = reader.next(false)) {
        chunks.push_back({chunk, reader.line()});
    }
    return chunks;
}

// What remains of the stream after a run: the reader gives back what it
// read ahead, so a caller reading on meets the same bytes either way.
std::string restOf(std::FILE* file) {
    std::string rest;
    char buffer[4096];
    for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        rest.append(buffer, count);
    }
    return rest;
}

struct RunOutput {
    std::string text;  // every report's text
    std::vector<std::size_t> reportLines;
    std::vector<std::vector<std::string>> rawTokens;
    std::string rest;

    bool operator==(const RunOutput& other) const {
        return text == other.text && reportLines == other.reportLines &&
               rawTokens == other.rawTokens && rest == other.rest;
    }
};

// Large logs leave large rests: a failure shows where they begin.
void PrintTo(const RunOutput& output, std::ostream* out) {
    *out << ::testing::PrintToString(output.text) << " lines "
         << ::testing::PrintToString(output.reportLines) << " rest of " << output.rest.size()
         << " bytes " << ::testing::PrintToString(output.rest.substr(0, 40));
}

enum class RunKind { Plain, First, Every };

// What a run handed out: a plain run counts no lines, as the window's.
RunOutput outputOf(const RecordingWriter& writer, RunKind kind) {
    RunOutput output;
    output.text = writer.text;
    if (kind == RunKind::Plain) {
        return output;
    }
    for (const DecodedReport& report : writer.reports) {
        output.reportLines.push_back(report.line);
        std::vector<std::string> raw;
        for (const ReportLine& line : report.lines) {
            for (const std::optional<ReportToken>& token : line.raw) {
                raw.push_back(token ? token->key + "=" + token->value.value_or("") : "-");
            }
        }
        output.rawTokens.push_back(raw);
    }
    return output;
}

RunOutput runOver(const std::string& bytes, RunKind kind, std::size_t blockSize,
                  const char* prefix) {
    RunOutput output;
    withLogFile(bytes, [&](std::FILE* file) {
        RunSettings settings;
        settings.blockSize = blockSize;
        settings.scope = kind == RunKind::Every ? ReportScope::Every : ReportScope::First;
        RecordingWriter writer(prefix, kind != RunKind::Plain);
        decodeReports(file, settings, writer);
        output = outputOf(writer, kind);
        output.rest = restOf(file);
    });
    return output;
}

// The same run reading a live stream that hands out pieces of up to
// maxPiece bytes; nothing is given back to such a stream.
RunOutput runOverSource(const std::string& bytes, RunKind kind, std::size_t maxPiece) {
    TrickleSource source(bytes, maxPiece);
    RunSettings settings;
    settings.blockSize = ChunkReader::MinimumBlockSize;
    settings.source = &source;
    settings.scope = kind == RunKind::Every ? ReportScope::Every : ReportScope::First;
    RecordingWriter writer("", kind != RunKind::Plain);
    decodeReports(nullptr, settings, writer);
    RunOutput output = outputOf(writer, kind);
    output.rawTokens.clear();
    return output;
}

void expectSameSourceRuns(const std::string& bytes) {
    for (RunKind kind : {RunKind::Plain, RunKind::First, RunKind::Every}) {
        RunOutput expected = runOver(bytes, kind, 0, "");
        expected.rawTokens.clear();
        expected.rest.clear();
        for (std::size_t maxPiece : PieceSizes) {
            SCOPED_TRACE("run kind " + std::to_string(static_cast<int>(kind)) + ", pieces of " +
                         std::to_string(maxPiece));
            EXPECT_EQ(expected, runOverSource(bytes, kind, maxPiece));
        }
    }
}

// Compares every kind of run over bytes, read in blocks of each size, with
// the same run reading chunk by chunk.
void expectSameRuns(const std::string& bytes, const std::vector<std::size_t>& blockSizes) {
    for (RunKind kind : {RunKind::Plain, RunKind::First, RunKind::Every}) {
        for (const char* prefix : {"", "> "}) {
            const RunOutput expected = runOver(bytes, kind, 0, prefix);
            for (std::size_t blockSize : blockSizes) {
                SCOPED_TRACE("run kind " + std::to_string(static_cast<int>(kind)) + ", prefix '" +
                             prefix + "', block size " + std::to_string(blockSize));
                EXPECT_EQ(expected, runOver(bytes, kind, blockSize, prefix));
            }
        }
    }
}

const std::string Marker = "DIAG <2A4D3263 ";
const std::string Unspaced = "DIAG<2A4D3263 ";
const std::string Report = "DIAG <2A4D3263 0=10 1=0 11=1A 60=3C>\r\nOK\r\n";
const std::string SecondReport = "DIAG<2A4D3263 10=1C 3=0\nOK\n";

std::string pad(std::size_t length, char fill = 'x') {
    return std::string(length, fill);
}

struct LogCase {
    std::string name;
    std::string bytes;
};

// Logs built around the places where reading in blocks could cut a chunk,
// a line end or a marker differently.
std::vector<LogCase> boundaryLogs() {
    std::vector<LogCase> logs = {
        {"empty", ""},
        {"one report", Report},
        {"two reports", Report + "noise\r\n" + SecondReport},
        {"look-alikes only", "DIAG <2A4D3263 >\r\nDIAG <2A4D3263 \r\nDIAG<2A4D3263 \n"},
        {"look-alikes before a report", "DIAG <2A4D3263 >\r\nDIAG <2A4D3263  \t>\r\n" + Report},
        {"marker after separators", "x>DIAG <2A4D3263 0=10>\r\n  >" + Unspaced + "1=0\nOK\n"},
        {"marker after a lone CR", "junk\r" + Marker + "0=10\r\rOK\r\n"},
        {"marker behind a NUL", std::string("a\0", 2) + Marker + "0=10\nOK\n" + Report},
        {"NUL inside a block", Marker + std::string("0=10\0 1=0\n", 10) + "OK\n"},
        {"0x1A before the report", "noise\x1A" + Report},
        {"0x1A inside the report", "DIAG <2A4D3263 0=10\x1A 1=0\r\nOK\r\n"},
        {"0x1A after the report", Report + "\x1A" + SecondReport},
        {"CR before 0x1A", Marker + "0=10\r\x1A\nOK\n"},
        {"CR at the end", Marker + "0=10\r"},
        {"key at the very end", "DIAG <2A4D3263 0"},
        {"key and space at the very end", "DIAG <2A4D3263 "},
        {"CR CR LF", Marker + "0=10\r\r\nOK\r\r\n"},
    };
    // Markers before, across and after the 511th and 1022nd characters of
    // one long line, and lines that end right at a chunk's end.
    for (std::size_t length : {490,  495,  496,  497,  498,  500,  505,  509,  510,  511,  512,
                               1006, 1007, 1008, 1010, 1019, 1020, 1021, 1022, 1023, 1533, 1534}) {
        const std::string at = std::to_string(length);
        logs.push_back({"marker after " + at, pad(length) + Marker + "0=10\r\nOK\r\n" + Report});
        logs.push_back({"unspaced marker after " + at, pad(length) + Unspaced + "0=10\nOK\n"});
        logs.push_back(
            {"spaces then marker after " + at, pad(length, ' ') + Marker + "0=10\nOK\n"});
        logs.push_back({"separator then marker after " + at,
                        pad(length - 1) + ">" + Marker + "0=10>\r\nOK\r\n"});
        logs.push_back({"CR LF after " + at, pad(length) + "\r\n" + Report});
        logs.push_back({"lone CR after " + at, pad(length) + "\r" + Marker + "0=10\r\nOK\n"});
        logs.push_back({"marker then OK line of " + at,
                        Marker + "0=10\r\n" + pad(length) + "\r\nOK\r\n" + SecondReport});
    }
    // Lines that put a CR LF, a marker or a 0x1A across each block refill.
    for (std::size_t shift = 0; shift < 24; ++shift) {
        std::string bytes;
        for (std::size_t line = 0; bytes.size() < 3000; ++line) {
            bytes += pad((line * 7 + shift) % 40) + (line % 3 == 0 ? "\r\n" : "\n");
            if (line % 25 == 0) {
                bytes += "DIAG <2A4D3263 >\r\n";
            }
        }
        const std::string at = std::to_string(shift);
        logs.push_back({"report after shifted lines " + at, bytes + Report + SecondReport});
        logs.push_back({"0x1A after shifted lines " + at, bytes + "\x1A" + Report});
        logs.push_back({"long line after shifted lines " + at,
                        bytes + pad(1500 + shift) + Marker + "0=10\r\n" + Report});
    }
    return logs;
}

// Random logs from the pieces that matter to chunking and to the scanner.
std::vector<LogCase> randomLogs() {
    const std::vector<std::string> pieces = {
        Marker,   Unspaced, "0=10 ",  "1=0",
        "11=1A ", ">",      "\r\n",   "\n",
        "\r",     "OK",     "OK\r\n", "2A4D3263 ",
        " ",      "\t",     "x",      std::string(1, '\0'),
        "\x1A",   pad(100), pad(509), "DIAG <2A4D3263 >",
    };
    std::uint32_t state = 12345;
    const auto random = [&state](std::uint32_t bound) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % bound;
    };
    std::vector<LogCase> logs;
    for (int index = 0; index < 150; ++index) {
        std::string bytes;
        const std::uint32_t count = 1 + random(120);
        for (std::uint32_t piece = 0; piece < count; ++piece) {
            // 0x1A ends a log, so let it come rarely.
            std::uint32_t choice = random(static_cast<std::uint32_t>(pieces.size()));
            if (pieces[choice] == "\x1A" && random(4) != 0) {
                choice = 0;
            }
            bytes += pieces[choice];
        }
        logs.push_back({"random log " + std::to_string(index), bytes});
    }
    return logs;
}

std::vector<LogCase> everyLog() {
    std::vector<LogCase> logs = boundaryLogs();
    const std::vector<LogCase> random = randomLogs();
    logs.insert(logs.end(), random.begin(), random.end());
    return logs;
}

class ChunkReaderTest : public ::testing::Test {};

TEST_F(ChunkReaderTest, BlocksGiveTheChunksReadChunkGives) {
    SKIP_WITHOUT_BLOCK_READING();
    for (const LogCase& log : everyLog()) {
        SCOPED_TRACE(log.name);
        const std::vector<ReadChunk> expected = referenceChunks(log.bytes);
        EXPECT_EQ(expected, readerChunks(log.bytes, 0));
        for (std::size_t blockSize : BlockSizes) {
            SCOPED_TRACE("block size " + std::to_string(blockSize));
            EXPECT_EQ(expected, readerChunks(log.bytes, blockSize));
        }
    }
}

// Here Windows too: a live stream is read raw and translated by the reader.
TEST_F(ChunkReaderTest, LiveStreamsGiveTheChunksReadChunkGives) {
    for (const LogCase& log : everyLog()) {
        SCOPED_TRACE(log.name);
        const std::vector<ReadChunk> expected = referenceChunks(log.bytes);
        for (std::size_t maxPiece : PieceSizes) {
            SCOPED_TRACE("pieces of " + std::to_string(maxPiece));
            EXPECT_EQ(expected, sourceChunks(log.bytes, maxPiece));
        }
    }
}

TEST_F(ChunkReaderTest, LiveStreamRunsDecodeAlike) {
    for (const LogCase& log : boundaryLogs()) {
        SCOPED_TRACE(log.name);
        expectSameSourceRuns(log.bytes);
    }
}

TEST_F(ChunkReaderTest, RunsDecodeBoundaryLogsAlike) {
    SKIP_WITHOUT_BLOCK_READING();
    for (const LogCase& log : boundaryLogs()) {
        SCOPED_TRACE(log.name);
        expectSameRuns(log.bytes, {ChunkReader::MinimumBlockSize, 1031, 4096});
    }
}

TEST_F(ChunkReaderTest, RunsDecodeRandomLogsAlike) {
    SKIP_WITHOUT_BLOCK_READING();
    for (const LogCase& log : randomLogs()) {
        SCOPED_TRACE(log.name);
        expectSameRuns(log.bytes, {ChunkReader::MinimumBlockSize, 1031});
    }
}

// The default block size, with markers cut by a refill and look-alikes
// that stop the search on every line.
TEST_F(ChunkReaderTest, RunsDecodeLargeLogsAlike) {
    SKIP_WITHOUT_BLOCK_READING();
    std::string lines;
    while (lines.size() < 65536 - 600) {
        lines += "ATZ\r\nOK\r\nDIAG <2A4D3263 >\r\nCONNECT 33600\r\n";
    }
    for (std::size_t shift : {0, 1, 7, 9, 14, 15, 16, 300, 520, 600}) {
        SCOPED_TRACE("shift " + std::to_string(shift));
        const std::string head = lines + pad(shift);
        expectSameRuns(head + "\r\n" + Report + lines + lines + SecondReport, {65536});
        expectSameRuns(head + Marker + "0=10\r\nOK\r\n" + lines + Report, {65536});
    }
}

TEST_F(ChunkReaderTest, RunsDecodeTheExamplesAlike) {
    SKIP_WITHOUT_BLOCK_READING();
    int examples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VEXA_EXAMPLES_DIR)) {
        std::ifstream file(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)),
                                std::istreambuf_iterator<char>());
        SCOPED_TRACE(entry.path().string());
        expectSameRuns(bytes, {ChunkReader::MinimumBlockSize, 1031, 65536});
        ++examples;
    }
    EXPECT_GT(examples, 0);
}

TEST(ChunkReader, RegularFilesAreReadInBlocks) {
    TempFile log("x\n");
    std::FILE* file = log.openText();
    ASSERT_NE(nullptr, file);
#ifdef _WIN32
    EXPECT_EQ(0u, readAheadSize(file));
#else
    EXPECT_GE(readAheadSize(file), ChunkReader::MinimumBlockSize);
#endif
    std::fclose(file);
}

TEST(ChunkReader, DevicesAreReadChunkByChunk) {
    std::FILE* device = openCharacterDevice();
    if (device == nullptr) {
        GTEST_SKIP() << "no character device";
    }
    EXPECT_EQ(0u, readAheadSize(device));
    std::fclose(device);
}

}  // namespace
