// What every decoding run must leave in the message buffer, whatever its
// input: bookkeeping that matches the text, whole lines that each carry the
// prefix and CR LF, and lines in the order a run can produce them.
//
// A failed check prints what broke and aborts, so libFuzzer keeps the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

void require(bool condition, const char* what);

// Line prefixes the targets choose from by a selector byte (0..3): none, a
// short one and one longer than any line the decoder formats.
const char* fuzzPrefix(unsigned selector);

// Empties the buffer, sets the prefix and returns the buffer's lines after a
// run, each checked and stripped of its prefix and CR LF.
void startRun(const char* prefix);
std::vector<std::string> finishRun(const char* prefix);

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
