// Inflating deflate data in the manner of the reference decoder's simplest
// form: canonical codes decoded a bit at a time from counts and symbols.
// Each call hands out what fits and keeps its place (a stored block's rest,
// a match's rest) for the next. Speed is not the point: a compressed
// capture is read once.

#include "gzip_source.h"

namespace {

constexpr int MaxCodeBits = 15;
constexpr std::uint32_t WindowMask = 32767;

const std::uint16_t LengthBase[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                      15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                      67, 83, 99, 115, 131, 163, 195, 227, 258};
const std::uint8_t LengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const std::uint16_t DistanceBase[30] = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const std::uint8_t DistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which the code length code's lengths are sent.
const std::uint8_t CodeLengthOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                          11, 4,  12, 3, 13, 2, 14, 1, 15};

// Builds the table from the code length of each symbol; false when the
// lengths ask for more codes than there are.
bool buildHuffman(GzipSource::Huffman& table, const std::uint8_t* lengths, int symbols) {
    for (std::uint16_t& count : table.count) {
        count = 0;
    }
    for (int symbol = 0; symbol < symbols; ++symbol) {
        ++table.count[lengths[symbol]];
    }
    int left = 1;
    for (int length = 1; length <= MaxCodeBits; ++length) {
        left = left * 2 - table.count[length];
        if (left < 0) {
            return false;
        }
    }
    std::uint16_t offsets[MaxCodeBits + 1] = {};
    for (int length = 1; length < MaxCodeBits; ++length) {
        offsets[length + 1] = static_cast<std::uint16_t>(offsets[length] + table.count[length]);
    }
    for (int symbol = 0; symbol < symbols; ++symbol) {
        if (lengths[symbol] != 0) {
            table.symbol[offsets[lengths[symbol]]++] = static_cast<std::uint16_t>(symbol);
        }
    }
    return true;
}

std::uint32_t crcTable(unsigned index) {
    static std::uint32_t table[256];
    static bool made = false;
    if (!made) {
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            table[n] = c;
        }
        made = true;
    }
    return table[index];
}

}  // namespace

GzipSource::GzipSource(ByteInput& input) : input_(input) {}

void GzipSource::fail() {
    state_ = State::Damaged;
}

bool GzipSource::needBits(int count) {
    while (bitCount_ < count) {
        const int byte = input_.get();
        if (byte < 0) {
            return false;
        }
        bitBuffer_ |= static_cast<std::uint32_t>(byte) << bitCount_;
        bitCount_ += 8;
    }
    return true;
}

std::uint32_t GzipSource::takeBits(int count) {
    const std::uint32_t value = bitBuffer_ & ((1u << count) - 1);
    bitBuffer_ >>= count;
    bitCount_ -= count;
    return value;
}

// The next symbol, or -1 when the data ends or holds no such code.
int GzipSource::decode(const Huffman& table) {
    int code = 0;
    int first = 0;
    int index = 0;
    for (int length = 1; length <= MaxCodeBits; ++length) {
        if (!needBits(1)) {
            return -1;
        }
        code |= static_cast<int>(takeBits(1));
        const int count = table.count[length];
        if (code - count < first) {
            return table.symbol[index + (code - first)];
        }
        index += count;
        first = (first + count) << 1;
        code <<= 1;
    }
    return -1;
}

bool GzipSource::readHeader() {
    unsigned char header[10];
    for (unsigned char& byte : header) {
        const int got = input_.get();
        if (got < 0) {
            return false;
        }
        byte = static_cast<unsigned char>(got);
    }
    if (header[0] != 0x1F || header[1] != 0x8B || header[2] != 8) {
        return false;
    }
    const unsigned flags = header[3];
    if ((flags & 0x04) != 0) {  // extra field
        const int low = input_.get();
        const int high = input_.get();
        if (high < 0) {
            return false;
        }
        for (int left = low | (high << 8); left > 0; --left) {
            if (input_.get() < 0) {
                return false;
            }
        }
    }
    for (const unsigned zeroEnded : {0x08u, 0x10u}) {  // file name, comment
        if ((flags & zeroEnded) != 0) {
            int byte = 0;
            while ((byte = input_.get()) > 0) {
            }
            if (byte < 0) {
                return false;
            }
        }
    }
    if ((flags & 0x02) != 0 && (input_.get() < 0 || input_.get() < 0)) {  // header check sum
        return false;
    }
    bitBuffer_ = 0;
    bitCount_ = 0;
    memberSize_ = 0;
    crc_ = 0xFFFFFFFFu;
    return true;
}

bool GzipSource::readBlockHeader() {
    if (!needBits(3)) {
        return false;
    }
    lastBlock_ = takeBits(1) != 0;
    const std::uint32_t type = takeBits(2);
    if (type == 0) {
        takeBits(bitCount_ % 8);
        if (!needBits(32)) {
            return false;
        }
        const std::uint32_t length = takeBits(16);
        if ((takeBits(16) ^ 0xFFFFu) != length) {
            return false;
        }
        storedLeft_ = length;
        state_ = State::Stored;
        return true;
    }
    if (type == 1) {
        std::uint8_t lengths[288];
        for (int symbol = 0; symbol < 288; ++symbol) {
            lengths[symbol] = symbol < 144 ? 8 : symbol < 256 ? 9 : symbol < 280 ? 7 : 8;
        }
        buildHuffman(lengths_, lengths, 288);
        for (int symbol = 0; symbol < 30; ++symbol) {
            lengths[symbol] = 5;
        }
        buildHuffman(distances_, lengths, 30);
        state_ = State::Codes;
        return true;
    }
    if (type == 2 && readDynamicTables()) {
        state_ = State::Codes;
        return true;
    }
    return false;
}

bool GzipSource::readDynamicTables() {
    if (!needBits(14)) {
        return false;
    }
    const int literalCount = static_cast<int>(takeBits(5)) + 257;
    const int distanceCount = static_cast<int>(takeBits(5)) + 1;
    const int codeLengthCount = static_cast<int>(takeBits(4)) + 4;
    if (literalCount > 286 || distanceCount > 30) {
        return false;
    }
    std::uint8_t lengths[320] = {};
    for (int i = 0; i < codeLengthCount; ++i) {
        if (!needBits(3)) {
            return false;
        }
        lengths[CodeLengthOrder[i]] = static_cast<std::uint8_t>(takeBits(3));
    }
    Huffman codeLengths;
    if (!buildHuffman(codeLengths, lengths, 19)) {
        return false;
    }
    const int total = literalCount + distanceCount;
    for (int at = 0; at < total;) {
        const int symbol = decode(codeLengths);
        if (symbol < 0) {
            return false;
        }
        if (symbol < 16) {
            lengths[at++] = static_cast<std::uint8_t>(symbol);
            continue;
        }
        std::uint8_t repeated = 0;
        int times = 0;
        if (symbol == 16) {
            if (at == 0 || !needBits(2)) {
                return false;
            }
            repeated = lengths[at - 1];
            times = 3 + static_cast<int>(takeBits(2));
        } else if (symbol == 17) {
            if (!needBits(3)) {
                return false;
            }
            times = 3 + static_cast<int>(takeBits(3));
        } else {
            if (!needBits(7)) {
                return false;
            }
            times = 11 + static_cast<int>(takeBits(7));
        }
        if (at + times > total) {
            return false;
        }
        while (times-- > 0) {
            lengths[at++] = repeated;
        }
    }
    // Without a code for the end of the block the block would never end.
    return lengths[256] != 0 && buildHuffman(lengths_, lengths, literalCount) &&
           buildHuffman(distances_, lengths + literalCount, distanceCount);
}

bool GzipSource::readTrailer() {
    takeBits(bitCount_ % 8);
    std::uint32_t fields[2] = {0, 0};
    for (std::uint32_t& field : fields) {
        for (int shift = 0; shift < 32; shift += 8) {
            int byte = 0;
            if (bitCount_ >= 8) {
                byte = static_cast<int>(takeBits(8));
            } else if ((byte = input_.get()) < 0) {
                return false;
            }
            field |= static_cast<std::uint32_t>(byte) << shift;
        }
    }
    return fields[0] == (crc_ ^ 0xFFFFFFFFu) && fields[1] == memberSize_;
}

void GzipSource::put(char* buffer, std::size_t& produced, unsigned char byte) {
    buffer[produced++] = static_cast<char>(byte);
    window_[windowAt_++ & WindowMask] = byte;
    crc_ = crcTable((crc_ ^ byte) & 0xFF) ^ (crc_ >> 8);
    ++memberSize_;
}

std::ptrdiff_t GzipSource::readSome(char* buffer, std::size_t size) {
    std::size_t produced = 0;
    while (produced < size) {
        switch (state_) {
            case State::Header:
                if (!readHeader()) {
                    fail();
                    break;
                }
                state_ = State::BlockHeader;
                break;
            case State::BlockHeader:
                if (!readBlockHeader()) {
                    fail();
                }
                break;
            case State::Stored: {
                if (storedLeft_ == 0) {
                    state_ = lastBlock_ ? State::Trailer : State::BlockHeader;
                    break;
                }
                const int byte = input_.get();
                if (byte < 0) {
                    fail();
                    break;
                }
                put(buffer, produced, static_cast<unsigned char>(byte));
                --storedLeft_;
                break;
            }
            case State::Codes: {
                if (copyLeft_ > 0) {
                    put(buffer, produced, window_[(windowAt_ - copyDistance_) & WindowMask]);
                    --copyLeft_;
                    break;
                }
                const int symbol = decode(lengths_);
                if (symbol < 0 || symbol > 285) {
                    fail();
                } else if (symbol < 256) {
                    put(buffer, produced, static_cast<unsigned char>(symbol));
                } else if (symbol == 256) {
                    state_ = lastBlock_ ? State::Trailer : State::BlockHeader;
                } else {
                    const int index = symbol - 257;
                    if (!needBits(LengthExtra[index])) {
                        fail();
                        break;
                    }
                    copyLeft_ = LengthBase[index] + takeBits(LengthExtra[index]);
                    const int distance = decode(distances_);
                    if (distance < 0 || distance > 29 || !needBits(DistanceExtra[distance])) {
                        fail();
                        break;
                    }
                    copyDistance_ = DistanceBase[distance] + takeBits(DistanceExtra[distance]);
                    if (copyDistance_ > memberSize_ || copyDistance_ > WindowMask + 1) {
                        fail();
                    }
                }
                break;
            }
            case State::Trailer:
                if (!readTrailer()) {
                    fail();
                    break;
                }
                // Another member may follow; anything else ends the data.
                state_ = input_.peek(2) >= 2 &&
                                 static_cast<unsigned char>(input_.data()[0]) == 0x1F &&
                                 static_cast<unsigned char>(input_.data()[1]) == 0x8B
                             ? State::Header
                             : State::Done;
                break;
            case State::Done:
            case State::Damaged:
                if (produced > 0) {
                    return static_cast<std::ptrdiff_t>(produced);
                }
                return input_.failed() ? -1 : 0;
        }
        // What has been produced goes out before a read that may wait.
        if (produced > 0 && state_ != State::Codes && state_ != State::Stored) {
            return static_cast<std::ptrdiff_t>(produced);
        }
    }
    return static_cast<std::ptrdiff_t>(produced);
}
