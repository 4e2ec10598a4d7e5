// The stand-in for a build without zlib: gzip data is not read at all.

#include "gzip_source.h"

struct GzipSource::Stream {};

GzipSource::GzipSource(ByteInput& input) : input_(input), state_(State::Damaged) {}

GzipSource::~GzipSource() = default;

bool GzipSource::readable() {
    return false;
}

std::ptrdiff_t GzipSource::readSome(char*, std::size_t) {
    return 0;
}
