// Each call inflates what the input has buffered into the caller's buffer,
// and reads more only while nothing has been produced, so that a pipe's
// data goes out as it arrives.

#include "gzip_source.h"

#include <climits>

#include <zlib.h>

struct GzipSource::Stream {
    z_stream z{};
    bool ready = false;
};

namespace {

// 15 bits of window, plus 16: a gzip header and trailer, nothing else.
constexpr int GzipWindowBits = 15 + 16;

}  // namespace

GzipSource::GzipSource(ByteInput& input) : input_(input), stream_(new Stream) {
    stream_->ready = inflateInit2(&stream_->z, GzipWindowBits) == Z_OK;
    if (!stream_->ready) {
        state_ = State::Damaged;
    }
}

GzipSource::~GzipSource() {
    if (stream_->ready) {
        inflateEnd(&stream_->z);
    }
}

bool GzipSource::readable() {
    return true;
}

std::ptrdiff_t GzipSource::readSome(char* buffer, std::size_t size) {
    if (state_ == State::DamageAhead) {
        state_ = State::Damaged;
    }
    z_stream& z = stream_->z;
    const uInt room = size > UINT_MAX ? UINT_MAX : static_cast<uInt>(size);
    z.next_out = reinterpret_cast<Bytef*>(buffer);
    z.avail_out = room;
    while (state_ == State::Member && z.avail_out > 0) {
        // Called with no input too: zlib may hold output from input it took.
        const std::size_t available = input_.available();
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input_.data()));
        z.avail_in = available > UINT_MAX ? UINT_MAX : static_cast<uInt>(available);
        const uInt offered = z.avail_in;
        const int result = inflate(&z, Z_NO_FLUSH);
        input_.consume(offered - z.avail_in);
        if (result == Z_STREAM_END) {
            // Another member may follow; anything else ends the data.
            const bool another = input_.peek(2) >= 2 &&
                                 static_cast<unsigned char>(input_.data()[0]) == 0x1F &&
                                 static_cast<unsigned char>(input_.data()[1]) == 0x8B;
            if (!another) {
                state_ = State::Done;
            } else if (inflateReset(&z) != Z_OK) {
                state_ = State::Damaged;
            }
        } else if (result != Z_OK && result != Z_BUF_ERROR) {
            // A bad code, check sum or length. It is said once what came
            // before it has been read, however the input was cut in reads.
            state_ = z.avail_out < room ? State::DamageAhead : State::Damaged;
        } else if (z.avail_out > 0 && input_.available() == 0) {
            // All taken and all given: what has been produced goes out
            // before a read that may wait.
            if (z.avail_out < room) {
                break;
            }
            if (!input_.fill()) {
                state_ = State::Damaged;  // the input ended inside a member
            }
        }
    }
    const std::size_t produced = room - z.avail_out;
    if (produced > 0 || state_ == State::Member) {
        return static_cast<std::ptrdiff_t>(produced);
    }
    return input_.failed() ? -1 : 0;
}
