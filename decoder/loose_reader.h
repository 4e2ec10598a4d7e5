// Reading a capture as it comes (--loose, and always on a serial port):
// each line whole, however it ends and however long it is, handed to the
// scan as one chunk, with what had to be mended named for the report.
//
// - CR, LF and CR LF each end a line, but line numbers count line feeds
//   alone (as grep -n and the window's reading do), so a line after a lone
//   CR has its line's number. A lone CR is named only after a line with a
//   block or an OK (a modem's echo ends in one on every serial line).
// - NUL and 0x1A bytes are skipped.
// - A line is read whole up to 64 kB; a longer one is handed out in
//   pieces, each cut after its last ">" where there is one (the scan
//   starts a new input line there anyway), so only a block that alone runs
//   past 64 kB is cut, and that is said.
// - A block whose ">" has not come by the end of its line goes on in the
//   next line when that line holds no marker and, up to its first ">",
//   only what tokens are made of (hex digits, "=", "x", blanks, ":"): a
//   terminal wrapped it. The lines are joined with nothing added, up to
//   4 kB in all.
// - A time stamp at a line's start is removed (capture_repairs.h), and so
//   are colour and other escape sequences anywhere, which is named.
// - Input that begins as gzip data (1F 8B) is inflated, and text that
//   begins with a UTF-16 byte order mark (either order) is decoded
//   (gzip_source.h, utf16_source.h), one inside the other if need be.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "byte_input.h"
#include "byte_source.h"
#include "gzip_source.h"
#include "utf16_source.h"

class LooseReader {
  public:
    // The longest line read whole, and the longest join of wrapped lines.
    static constexpr std::size_t LineLimit = 64 * 1024;
    static constexpr std::size_t JoinLimit = 4 * 1024;

    LooseReader(ByteSource& source, std::size_t blockSize);
    LooseReader(const LooseReader&) = delete;
    LooseReader& operator=(const LooseReader&) = delete;

    // The next line, zero-terminated and without its line end, in the
    // reader's buffer, which the caller may spoil; null at the end of the
    // input or on a read error.
    char* next();
    // The physical line (from 1, counted by line feeds) where the last line
    // handed out began.
    std::size_t line() const { return handedLine_; }
    bool failed() const;
    // The gzip data ended damaged or cut short.
    bool damaged() const { return gzip_ != nullptr && gzip_->damaged(); }
    // The input is data of a compressor that is not read (capture_repairs.h).
    const char* compression() const { return compression_; }
    // Why the input ended, once it has.
    CutReason endReason() const { return source_.endReason(); }

    // Message lines naming what was mended in the lines handed out since
    // the last call ("loose reading: NUL bytes skipped in line 4!"), each
    // mend once; the input's decoding (gzip, UTF-16) every time.
    std::vector<std::string> takeMends();

    enum Mend {
        LoneCr,
        NulSkipped,
        EndOfTextSkipped,
        LongLine,
        Joined,
        Cut,
        Escapes,
        TimeStamps,
        DamagedMarker,  // noted by the scan, which reads the block
        MendCount
    };
    // Names a mend the caller made in a line handed out.
    void noteMend(Mend mend, std::size_t line) { note(mend, line); }

  private:
    struct MendLines {
        std::size_t count = 0;
        std::size_t first = 0;
        std::size_t last = 0;
    };

    void chooseDecoding();
    bool readLine(std::string& text, std::size_t& line);
    void endPiece(std::string& text, std::size_t line);
    void note(Mend mend, std::size_t line);
    char* handOut(std::string& text, std::size_t line);

    ByteSource& source_;
    std::size_t blockSize_;
    std::unique_ptr<ByteInput> raw_;
    std::unique_ptr<GzipSource> gzip_;
    std::unique_ptr<ByteInput> inflated_;
    std::unique_ptr<Utf16Source> utf16_;
    std::unique_ptr<ByteInput> decoded_;
    ByteInput* input_ = nullptr;  // the text, after any decoding
    bool bigEndian_ = false;
    bool gzipDamageSaid_ = false;
    const char* compression_ = nullptr;

    std::size_t nextLine_ = 1;
    bool afterCr_ = false;    // the last byte read was a CR that ended a line
    bool crMatters_ = false;  // that line held a block or an OK
    std::string carry_;       // the start of a long line's next piece
    bool inPiece_ = false;    // a piece was handed out and its line goes on
    std::string held_;        // an open block line, waiting for its next line
    std::size_t heldLine_ = 0;
    bool haveHeld_ = false;
    std::string ahead_;
    std::size_t aheadLine_ = 0;
    std::string out_;
    std::size_t handedLine_ = 0;
    MendLines mends_[MendCount];
};
