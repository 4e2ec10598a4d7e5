// Reading a log for a decoding run: its bytes in blocks from a byte source,
// handed out as the chunks the Windows text mode's fgets gives, with the
// option of passing over the chunks that cannot hold a block marker.
//
// A chunk is at most 511 characters and ends after a line feed; CR LF
// arrives as LF (a lone CR stays), and a 0x1A byte ends the input for good,
// so a log decodes to the same chunks on every platform. Before its first
// block a run only looks for a marker, and a large log is almost all lines
// that hold none: such lines are passed over at the speed of a byte search.
//
// Given a WindowDrops, the reader notes where these rules drop text: a NUL
// byte with text after it in a chunk, a 0x1A byte with text after it
// (noteEndOfText), and an input that begins as gzip data or UTF-16 text
// does; its caller notes the block lines cut at 511 characters
// (chunkCut), and the lines it passes over that are blocks but for a
// damaged marker. Lines are then counted in any case.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "byte_source.h"
#include "window_drops.h"

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
    ChunkReader(ByteSource& source, std::size_t blockSize, bool countLines,
                WindowDrops* drops = nullptr);
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

    // The last chunk handed out was cut after 511 characters, and its
    // line goes on in the next chunk.
    bool chunkCut() const { return chunkCut_; }

    // Once next() gave null: when a 0x1A byte ended the text, looks past it
    // (reading on until a byte arrives that is not blank, or the input
    // ends) and notes a drop if more text follows.
    void noteEndOfText();

  private:
    bool skipToCandidate();
    std::size_t findCandidate();
    void countTo(std::size_t position);
    std::size_t chunkStartBefore(std::size_t position) const;
    void advanceTo(std::size_t position);
    void fill();
    bool chunkIsWhole() const;
    char* takeChunk();

    bool textAfter(std::size_t from, std::size_t to) const;
    void noteDamagedMarkers(std::size_t position);

    ByteSource& source_;
    std::size_t blockSize_;
    bool countLines_;
    WindowDrops* drops_;
    bool chunkCut_ = false;
    bool endOfText_ = false;  // a 0x1A byte ended the text at end_
    bool firstRead_ = true;
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
    // begin_ is where an input line begins, not a chunk inside one.
    bool lineAtBegin_ = true;
    // No candidate begins in [begin_, searched_).
    std::size_t searched_ = 0;
    // The search counts line feeds as it goes: aheadLines_ are those in
    // [begin_, counted_), not yet in nextLine_.
    std::size_t counted_ = 0;
    std::size_t aheadLines_ = 0;
    // With drops_: the search's stops ('<') in [begin_, searched_) that
    // began no candidate, each a place a damaged marker may stand.
    std::vector<std::size_t> passedStops_;
    bool streamEnded_ = false;  // the source ended, or a 0x1A byte
    bool sourceEnded_ = false;
    bool failed_ = false;
};
