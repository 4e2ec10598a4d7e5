// Captures as they come: one row per way a capture reaches us, each read
// loosely (as --loose and a port read) to the same report, with what was
// mended named; and what the window's own reading of the same bytes drops.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "decoding_run.h"
#include "file_bytes.h"
#include "test_support.h"

namespace {

const char Query[] = "AT*VXD\r\n";
const char FirstBlock[] = "DIAG <2A4D3263 0=10 1=0 2=0 3=0>";
const char SecondBlock[] = "DIAG <2A4D3263 11=1A 10=1C 60=3C>";

std::string capture(const std::string& end) {
    return Query + std::string(FirstBlock) + end + SecondBlock + end + "OK" + end;
}

std::string utf16(const std::string& text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char c : text) {
        out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    }
    return out;
}

// The capture above, as gzip made it.
const char Gzipped[] =
    "\x1F\x8B\x08\x00\x00\x00\x00\x00\x02\x03\x73\x0C\xD1\x0A\x8B\x70\xE1\xE5\x72\xF1\x74\x74"
    "\x57\xB0\x31\x72\x34\x71\x31\x36\x32\x33\x56\x30\xB0\x35\x34\x50\x30\xB4\x35\x50\x30\x02"
    "\x62\x63\x5B\x03\x3B\x0C\x15\x86\x86\xB6\x86\x8E\x0A\x86\x40\x85\xCE\x0A\x66\x06\xB6\xC6"
    "\xCE\x40\x25\xFE\xDE\xBC\x5C\x00\xF3\x34\x2A\xB0\x51\x00\x00\x00";

// Hands the bytes out in pieces of 1 to 7, so that every boundary falls
// inside some row's special bytes.
class PieceSource : public ByteSource {
  public:
    explicit PieceSource(const std::string& bytes) : bytes_(bytes) {}
    std::ptrdiff_t readSome(char* buffer, std::size_t size) override {
        const std::size_t count = std::min({size, bytes_.size() - at_, 1 + at_ % 7});
        std::memcpy(buffer, bytes_.data() + at_, count);
        at_ += count;
        return static_cast<std::ptrdiff_t>(count);
    }

  private:
    std::string bytes_;
    std::size_t at_ = 0;
};

struct CaptureRow {
    const char* name;
    std::string bytes;
    std::vector<std::string> mends;  // the messages of the loose reading
    DropKind windowDrop;             // the first the window's reading drops
};

std::vector<CaptureRow> captureRows() {
    const std::string wrapped = std::string(FirstBlock).insert(20, "\r\n");
    const std::string longBlock = "DIAG <2A4D3263 0=10" + std::string(540, ' ') + "1=0 2=0 3=0>";
    return {
        {"CR LF", capture("\r\n"), {}, DropKind::None},
        {"LF", capture("\n"), {}, DropKind::None},
        {"CR alone",
         capture("\r"),
         {"loose reading: lines ended by CR alone in line 2!"},
         DropKind::None},
        {"NUL before a block and an OK",
         Query + std::string("\0\0", 2) + FirstBlock + "\r\n" + SecondBlock + "\r\n" +
             std::string("\0OK\r\n", 5),
         {"loose reading: NUL bytes skipped in lines 2 to 4!"},
         DropKind::NulByte},
        {"0x1A in an answer",
         Query + std::string(FirstBlock) + "\r\n\x1A" + SecondBlock + "\r\nOK\r\n",
         {"loose reading: 0x1A bytes skipped in line 3!"},
         DropKind::EndOfText},
        {"a block line of 582 characters",
         Query + longBlock + "\r\n" + SecondBlock + "\r\nOK\r\n",
         {"loose reading: lines longer than 511 characters read whole in line 2!"},
         DropKind::LongLine},
        {"a block wrapped by a terminal",
         Query + wrapped + "\r\n" + SecondBlock + "\r\nOK\r\n",
         {"loose reading: wrapped lines joined in line 3!"},
         DropKind::None},
        {"UTF-16, little-endian",
         utf16(capture("\r\n"), false),
         {"loose reading: UTF-16 text (little-endian) decoded!"},
         DropKind::Encoded},
        {"UTF-16, big-endian",
         utf16(capture("\r\n"), true),
         {"loose reading: UTF-16 text (big-endian) decoded!"},
         DropKind::Encoded},
        {"gzip",
         std::string(Gzipped, sizeof Gzipped - 1),
         {"loose reading: gzip data inflated!"},
         DropKind::Encoded},
    };
}

TEST(CaptureTable, EveryWayReadsToTheWholeReport) {
    RecordingWriter clean;
    {
        PieceSource source(capture("\r\n"));
        RunSettings settings;
        settings.looseReading = true;
        decodeReports(source, settings, clean);
    }
    ASSERT_EQ(1u, clean.reports.size());
    ASSERT_EQ(6u, clean.reports[0].lines.size());
    for (const CaptureRow& row : captureRows()) {
        SCOPED_TRACE(row.name);
        PieceSource source(row.bytes);
        RunSettings settings;
        settings.looseReading = true;
        RecordingWriter loose;
        decodeReports(source, settings, loose);
        ASSERT_EQ(1u, loose.reports.size());
        EXPECT_TRUE(loose.reports[0].complete());
        std::string expected;
        for (const std::string& mend : row.mends) {
            expected += mend + "\r\n";
        }
        EXPECT_EQ(expected + clean.reportTexts[0], loose.reportTexts[0]);
        EXPECT_EQ(row.mends, loose.messages[0]);

        // The window's reading of the same file: what it drops is noted.
        TempFile file(row.bytes);
        std::FILE* stream = file.openText();
        ASSERT_NE(nullptr, stream);
        RunSettings window;
        window.noteDrops = true;
        RecordingWriter windowText;
        const RunOutcome outcome = decodeFile(stream, window, windowText);
        std::fclose(stream);
        EXPECT_EQ(row.windowDrop, outcome.drops.first);
    }
}

}  // namespace
