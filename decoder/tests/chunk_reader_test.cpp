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
#include "file_bytes.h"
#include "test_support.h"

namespace {

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

// The chunks text-mode fgets gives with a 512-byte buffer, and the line
// each begins on: CR LF read as LF, a 0x1A ending the input, at most 511
// characters a chunk, each ending after a line feed.
std::vector<ReadChunk> referenceChunks(const std::string& bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size() && bytes[i] != '\x1A'; ++i) {
        if (bytes[i] != '\r' || i + 1 == bytes.size() || bytes[i + 1] != '\n') {
            text += bytes[i];
        }
    }
    std::vector<ReadChunk> chunks;
    std::size_t line = 1;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t lineFeed = text.find('\n', start);
        const std::size_t end = std::min(
            {lineFeed == std::string::npos ? text.size() : lineFeed + 1, start + 511, text.size()});
        const std::string chunk = text.substr(start, end - start);
        chunks.push_back({chunk.c_str(), line});
        line += chunk.back() == '\n' ? 1 : 0;
        start = end;
    }
    return chunks;
}

// Every chunk a ChunkReader hands out when asked to skip nothing.
std::vector<ReadChunk> readerChunks(const TempFile& log, std::size_t blockSize) {
    std::vector<ReadChunk> chunks;
    std::FILE* file = log.openText();
    if (file == nullptr) {
        ADD_FAILURE() << "cannot open " << log.path();
        return chunks;
    }
    FileBytes source(file);
    ChunkReader reader(source, blockSize, true);
    while (const char* chunk = reader.next(false)) {
        chunks.push_back({chunk, reader.line()});
    }
    EXPECT_EQ(nullptr, reader.next(false)) << "the end stays the end";
    std::fclose(file);
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
    ChunkReader reader(source, ChunkReader::MinimumBlockSize, true);
    while (const char* chunk = reader.next(false)) {
        chunks.push_back({chunk, reader.line()});
    }
    return chunks;
}

struct RunOutput {
    std::string text;  // every report's text
    std::vector<std::size_t> reportLines;
    std::vector<std::vector<std::string>> rawTokens;

    bool operator==(const RunOutput& other) const {
        return text == other.text && reportLines == other.reportLines &&
               rawTokens == other.rawTokens;
    }
};

void PrintTo(const RunOutput& output, std::ostream* out) {
    *out << ::testing::PrintToString(output.text) << " lines "
         << ::testing::PrintToString(output.reportLines);
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

// One log file read many times: creating files is what makes these tests
// slow where Windows programs run emulated.
RunOutput runOver(const TempFile& log, RunKind kind, std::size_t blockSize, const char* prefix) {
    std::FILE* file = log.openText();
    if (file == nullptr) {
        ADD_FAILURE() << "cannot open " << log.path();
        return {};
    }
    RunSettings settings;
    settings.blockSize = blockSize;
    settings.scope = kind == RunKind::Every ? ReportScope::Every : ReportScope::First;
    RecordingWriter writer(prefix, kind != RunKind::Plain);
    decodeFile(file, settings, writer);
    std::fclose(file);
    return outputOf(writer, kind);
}

// The same run reading a live stream that hands out pieces of up to
// maxPiece bytes.
RunOutput runOverSource(const std::string& bytes, RunKind kind, std::size_t maxPiece) {
    TrickleSource source(bytes, maxPiece);
    RunSettings settings;
    settings.blockSize = ChunkReader::MinimumBlockSize;
    settings.scope = kind == RunKind::Every ? ReportScope::Every : ReportScope::First;
    RecordingWriter writer("", kind != RunKind::Plain);
    decodeReports(source, settings, writer);
    RunOutput output = outputOf(writer, kind);
    output.rawTokens.clear();
    return output;
}

void expectSameSourceRuns(const std::string& bytes) {
    const TempFile log(bytes);
    for (RunKind kind : {RunKind::Plain, RunKind::First, RunKind::Every}) {
        RunOutput expected = runOver(log, kind, ChunkReader::MinimumBlockSize, "");
        expected.rawTokens.clear();
        for (std::size_t maxPiece : PieceSizes) {
            SCOPED_TRACE("run kind " + std::to_string(static_cast<int>(kind)) + ", pieces of " +
                         std::to_string(maxPiece));
            EXPECT_EQ(expected, runOverSource(bytes, kind, maxPiece));
        }
    }
}

// Compares every kind of run over bytes, read in blocks of each size, with
// the same run reading the default blocks.
void expectSameRuns(const std::string& bytes, const std::vector<std::size_t>& blockSizes) {
    const TempFile log(bytes);
    for (RunKind kind : {RunKind::Plain, RunKind::First, RunKind::Every}) {
        for (const char* prefix : {"", "> "}) {
            const RunOutput expected = runOver(log, kind, RunSettings().blockSize, prefix);
            for (std::size_t blockSize : blockSizes) {
                SCOPED_TRACE("run kind " + std::to_string(static_cast<int>(kind)) + ", prefix '" +
                             prefix + "', block size " + std::to_string(blockSize));
                EXPECT_EQ(expected, runOver(log, kind, blockSize, prefix));
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

// A log file, opened as a log is: in text mode.
TEST_F(ChunkReaderTest, FilesGiveTheTextModeChunks) {
    for (const LogCase& log : everyLog()) {
        SCOPED_TRACE(log.name);
        const std::vector<ReadChunk> expected = referenceChunks(log.bytes);
        const TempFile file(log.bytes);
        for (std::size_t blockSize : BlockSizes) {
            SCOPED_TRACE("block size " + std::to_string(blockSize));
            EXPECT_EQ(expected, readerChunks(file, blockSize));
        }
    }
}

TEST_F(ChunkReaderTest, LiveStreamsGiveTheTextModeChunks) {
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
    for (const LogCase& log : boundaryLogs()) {
        SCOPED_TRACE(log.name);
        expectSameRuns(log.bytes, {ChunkReader::MinimumBlockSize, 1031, 4096});
    }
}

TEST_F(ChunkReaderTest, RunsDecodeRandomLogsAlike) {
    for (const LogCase& log : randomLogs()) {
        SCOPED_TRACE(log.name);
        expectSameRuns(log.bytes, {ChunkReader::MinimumBlockSize, 1031});
    }
}

// The default block size, with markers cut by a refill and look-alikes
// that stop the search on every line.
TEST_F(ChunkReaderTest, RunsDecodeLargeLogsAlike) {
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

// What a log file's bytes give, read as a log is: the Windows text mode's
// chunks, on every platform.
struct TextModeCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> chunks;
};

const std::string A511(511, 'a');

const TextModeCase TextModeCases[] = {
    {"empty", "", {}},
    {"lines end after LF", "ab\ncd\n", {"ab\n", "cd\n"}},
    {"last line without LF", "ab\ncd", {"ab\n", "cd"}},
    {"CR LF arrives as LF", "ab\r\ncd\r\n", {"ab\n", "cd\n"}},
    {"lone CR stays", "ab\rcd\r\n", {"ab\rcd\n"}},
    {"CR CR LF", "ab\r\r\n", {"ab\r\n"}},
    {"CR at the end of the file", "ab\r", {"ab\r"}},
    {"511 characters then LF", A511 + "\n", {A511, "\n"}},
    {"510 characters then CR LF fit one chunk", A511.substr(1) + "\r\n", {A511.substr(1) + "\n"}},
    {"1023 characters", A511 + A511 + "b\n", {A511, A511, "b\n"}},
    {"0x1A ends the input",
     "ab\ncd\x1A"
     "ef\ngh\n",
     {"ab\n", "cd"}},
    {"0x1A first",
     "\x1A"
     "ab\n",
     {}},
    {"CR before 0x1A stays", "ab\r\x1A\n", {"ab\r"}},
    {"NUL ends the chunk's text", std::string("ab\0cd\nef\n", 9), {"ab", "ef\n"}},
};

TEST(ChunkReader, ChunksLikeTextModeFgets) {
    for (const TextModeCase& c : TextModeCases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> texts;
        for (const ReadChunk& chunk : readerChunks(TempFile(c.bytes), RunSettings().blockSize)) {
            texts.push_back(chunk.text);
        }
        EXPECT_EQ(c.chunks, texts);
    }
}

}  // namespace
