// gzip data (RFC 1952, its deflate data RFC 1951) read as the bytes it
// holds, for --loose: a capture that was compressed where it was kept.
// Members that follow one another are read one after the other. Data that
// is damaged (a bad code, a wrong check sum, an end before the trailer)
// ends the input there, and damaged() says so; what came before it has
// been handed out. Memory: the 32 kB window and the code tables.
#pragma once

#include <cstddef>
#include <cstdint>

#include "byte_input.h"
#include "byte_source.h"

class GzipSource : public ByteSource {
  public:
    // input is positioned at the first byte of the gzip data.
    explicit GzipSource(ByteInput& input);

    std::ptrdiff_t readSome(char* buffer, std::size_t size) override;
    CutReason endReason() const override { return input_.source().endReason(); }

    bool damaged() const { return state_ == State::Damaged; }

    // The decoding tables of one block: the count of codes of each length
    // and the symbols in code order.
    struct Huffman {
        std::uint16_t count[16];
        std::uint16_t symbol[288];
    };

  private:
    enum class State { Header, BlockHeader, Stored, Codes, Trailer, Done, Damaged };

    bool needBits(int count);
    std::uint32_t takeBits(int count);
    int decode(const Huffman& table);
    bool readHeader();
    bool readBlockHeader();
    bool readDynamicTables();
    bool readTrailer();
    void put(char* buffer, std::size_t& produced, unsigned char byte);
    void fail();

    ByteInput& input_;
    State state_ = State::Header;
    std::uint32_t bitBuffer_ = 0;
    int bitCount_ = 0;
    bool lastBlock_ = false;
    std::uint32_t storedLeft_ = 0;
    // A match not yet copied whole: its length left and its distance.
    std::uint32_t copyLeft_ = 0;
    std::uint32_t copyDistance_ = 0;
    Huffman lengths_;
    Huffman distances_;
    unsigned char window_[32768];
    std::uint32_t windowAt_ = 0;
    std::uint32_t memberSize_ = 0;  // bytes of this member so far, modulo 2^32
    std::uint32_t crc_ = 0;
};
