// Reading a log stream for a decoding run: the chunks readChunk gives
// (text_reader.h), with the option of passing over the chunks that cannot
// hold a block marker without handing them out.
//
// Before its first block a run only looks for a marker, and a large log is
// almost all lines that hold none. Read in blocks, such lines are passed
// over at the speed of a byte search; every chunk handed out is still cut,
// translated and ended exactly as readChunk would.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>

#include "byte_source.h"

class ChunkReader {
  public:
    // One chunk of at most 511 characters and its terminator.
    static constexpr int ChunkSize = 512;
    // Smaller block sizes are raised to this.
    static constexpr std::size_t MinimumBlockSize = 1024;

    // blockSize 0 reads through readChunk, taking from the stream no more
    // than each chunk needs. Otherwise the input is read in blocks of that
    // size: from source when one is given, each read taking what has
    // arrived, and a chunk is handed out once it is whole (its line feed,
    // 511 characters, or the end of the input has arrived); without a
    // source, from file with fread, so the file must be one that never
    // waits for more data than it holds (a regular file, a memory stream),
    // and the bytes read ahead of the last chunk are given back with fseek
    // when the reader goes. With countLines the reader keeps line().
    ChunkReader(std::FILE* file, std::size_t blockSize, bool countLines = false,
                ByteSource* source = nullptr);
    ~ChunkReader();
    ChunkReader(const ChunkReader&) = delete;
    ChunkReader& operator=(const ChunkReader&) = delete;

    // The next chunk, zero-terminated in the reader's buffer, which the
    // caller may spoil; null at the end of the input or on a read error.
    // With skipUnmarked, chunks that cannot begin an input line with a block
    // marker may be passed over (when reading in blocks, they are).
    char* next(bool skipUnmarked);

    // The physical input line (1-based) on which the last chunk handed out
    // begins; counted only with countLines.
    std::size_t line() const { return line_; }

    // True when reading failed rather than ended.
    bool failed() const;

  private:
    char* nextFromStream();
    bool skipToCandidate();
    std::size_t findCandidate();
    std::size_t chunkStartBefore(std::size_t position) const;
    void advanceTo(std::size_t position);
    void fill();
    bool chunkIsWhole() const;
    char* takeChunk();

    std::FILE* file_;
    ByteSource* source_;
    std::size_t blockSize_;
    bool countLines_;
    std::size_t line_ = 1;
    std::size_t nextLine_ = 1;
    char chunk_[ChunkSize];

    // Reading in blocks: bytes [begin_, end_) of block_ are unread input,
    // and begin_ is always where a chunk begins. Bytes from end_ to read_
    // lie after a 0x1A and are never handed out.
    std::unique_ptr<char[]> block_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::size_t read_ = 0;
    // No candidate begins in [begin_, searched_).
    std::size_t searched_ = 0;
    bool streamEnded_ = false;
    bool failed_ = false;
};
