// Reading a log for a decoding run: its bytes in blocks from a byte source,
// handed out as the chunks the Windows text mode's fgets gives, with the
// option of passing over the chunks that cannot hold a block marker.
//
// A chunk is at most 511 characters and ends after a line feed; CR LF
// arrives as LF (a lone CR stays), and a 0x1A byte ends the input for good,
// so a log decodes to the same chunks on every platform. Before its first
// block a run only looks for a marker, and a large log is almost all lines
// that hold none: such lines are passed over at the speed of a byte search.
#pragma once

#include <cstddef>
#include <memory>

#include "byte_source.h"

class ChunkReader {
  public:
    // One chunk of at most 511 characters and its terminator.
    static constexpr int ChunkSize = 512;
    // Smaller block sizes are raised to this.
    static constexpr std::size_t MinimumBlockSize = 1024;

    // Reads source in blocks of blockSize, each read taking what has
    // arrived; a chunk is handed out once it is whole (its line feed, 511
    // characters, or the end of the input has arrived). With countLines the
    // reader keeps line().
    ChunkReader(ByteSource& source, std::size_t blockSize, bool countLines);
    ChunkReader(const ChunkReader&) = delete;
    ChunkReader& operator=(const ChunkReader&) = delete;

    // The next chunk, zero-terminated in the reader's buffer, which the
    // caller may spoil; null at the end of the input or on a read error.
    // With skipUnmarked, chunks that cannot begin an input line with a block
    // marker are passed over.
    char* next(bool skipUnmarked);

    // The physical input line (1-based) on which the last chunk handed out
    // begins; 0 when lines are not counted.
    std::size_t line() const { return countLines_ ? line_ : 0; }

    // True when reading failed rather than ended.
    bool failed() const { return failed_; }

  private:
    bool skipToCandidate();
    std::size_t findCandidate();
    std::size_t chunkStartBefore(std::size_t position) const;
    void advanceTo(std::size_t position);
    void fill();
    bool chunkIsWhole() const;
    char* takeChunk();

    ByteSource& source_;
    std::size_t blockSize_;
    bool countLines_;
    std::size_t line_ = 1;
    std::size_t nextLine_ = 1;
    char chunk_[ChunkSize];

    // Bytes [begin_, end_) of block_ are unread input, and begin_ is always
    // where a chunk begins. Bytes from end_ to read_ lie after a 0x1A and
    // are never handed out.
    std::unique_ptr<char[]> block_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::size_t read_ = 0;
    // No candidate begins in [begin_, searched_).
    std::size_t searched_ = 0;
    bool streamEnded_ = false;
    bool failed_ = false;
};
