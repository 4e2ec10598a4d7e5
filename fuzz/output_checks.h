// What every decoding run must hand out, whatever its input, seen through
// the window's text of it: whole lines that each carry the prefix and CR LF,
// in the order a run can produce them.
//
// A failed check prints what broke and aborts, so libFuzzer keeps the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "byte_source.h"
#include "output_writer.h"

void require(bool condition, const char* what);

// Line prefixes the targets choose from by a selector byte (0..3): none, a
// short one and one longer than any line the decoder formats.
const char* fuzzPrefix(unsigned selector);

// The window's text of every report a run hands out, as the text writer
// writes it, and of each report where it began, whether its OK came and how
// many blocks it had.
class CheckedText : public ReportWriter {
  public:
    explicit CheckedText(const char* prefix);

    void message(std::string_view text) override;
    void block(const ReportBlock& block) override;
    void report(const DecodedReport& report) override;

    std::string text;
    std::string reports;  // each report as "line:" or "line~" (cut off), then its text

  private:
    StringSink pending_;  // the text of the report under way
    std::unique_ptr<OutputWriter> writer_;
    std::size_t blocks_ = 0;
};

// The text's lines, each checked and stripped of its prefix and CR LF.
std::vector<std::string> linesOf(const std::string& text, const char* prefix);

// The lines of a run that scanned its input (a file, or a clipboard text that
// held a marker): messages, then report lines in catalogue order with each
// entry at most once; or only "no recognizable data found!".
void checkScanOutput(const std::vector<std::string>& lines);

// A memory stream over a copy of the bytes (fmemopen needs a writable buffer).
class MemoryLog {
  public:
    MemoryLog(const std::uint8_t* data, std::size_t size);
    ~MemoryLog();
    MemoryLog(const MemoryLog&) = delete;
    MemoryLog& operator=(const MemoryLog&) = delete;

    std::FILE* stream() const { return stream_; }

  private:
    std::vector<char> bytes_;
    std::FILE* stream_;
};

// The bytes handed out in pieces of at most largest, or of 1 to 7 as a slow
// line brings them (trickle); at the end a read fails when failsAtEnd.
class PieceSource : public ByteSource {
  public:
    PieceSource(const std::uint8_t* data, std::size_t size, std::size_t largest, bool trickle,
                bool failsAtEnd = false)
        : data_(data), size_(size), largest_(largest), trickle_(trickle), failsAtEnd_(failsAtEnd) {}

    std::ptrdiff_t readSome(char* buffer, std::size_t size) override;

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t largest_;
    bool trickle_;
    bool failsAtEnd_;
    std::size_t at_ = 0;
};
