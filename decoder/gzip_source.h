// gzip data (RFC 1952) read as the bytes it holds, for --loose: a capture
// that was compressed where it was kept. zlib inflates it and checks each
// member's CRC and length. Members that follow one another are read one
// after the other. Data that is damaged (a bad code, a wrong check sum, an
// end before the trailer) ends the input there, and damaged() says so;
// what came before it has been handed out. Memory: zlib's state and its
// 32 kB window.
//
// A build without zlib (the page, where the browser inflates) has a
// stand-in that reads nothing and says so (readable() is false).
#pragma once

#include <cstddef>
#include <memory>

#include "byte_input.h"
#include "byte_source.h"

class GzipSource : public ByteSource {
  public:
    // input is positioned at the first byte of the gzip data.
    explicit GzipSource(ByteInput& input);
    ~GzipSource() override;
    GzipSource(const GzipSource&) = delete;
    GzipSource& operator=(const GzipSource&) = delete;

    std::ptrdiff_t readSome(char* buffer, std::size_t size) override;
    CutReason endReason() const override { return input_.source().endReason(); }

    bool damaged() const { return state_ == State::Damaged; }
    // False where this build cannot inflate at all.
    static bool readable();

  private:
    enum class State { Member, DamageAhead, Damaged, Done };
    struct Stream;  // zlib's, kept out of this header

    ByteInput& input_;
    std::unique_ptr<Stream> stream_;
    State state_ = State::Member;
};
