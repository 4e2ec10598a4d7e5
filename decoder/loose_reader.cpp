// The loose reader: bytes into physical lines (a table marks the bytes that
// need a decision, and the runs between them are copied whole), physical
// lines into the lines handed out (an open block line is held until the
// next line shows whether a terminal wrapped it).

#include "loose_reader.h"

#include <cstring>

#include "capture_repairs.h"
#include "catalogue.h"

namespace {

// The longest line the window's reading takes whole.
constexpr std::size_t WindowLineLimit = 511;
// Kept back when a line without ">" or marker is cut, so that a marker or
// an "OK" that the cut would split stands whole in the next piece.
constexpr std::size_t CutOverlap = sizeof SpacedMarker - 1;
constexpr char EndOfText = 0x1A;

const char* const MendTexts[LooseReader::MendCount] = {
    "lines ended by CR alone",
    "NUL bytes skipped",
    "0x1A bytes skipped",
    "lines longer than 511 characters read whole",
    "wrapped lines joined",
    "a block longer than 65536 characters cut",
    "colour and escape sequences removed",
    "time stamps removed from line starts",
    "damaged block markers read",
};

bool isSpecial(char c) {
    return c == '\r' || c == '\n' || c == '\0' || c == EndOfText;
}

// The last marker in text, of either form, or null.
const char* lastMarker(const char* text) {
    const char* last = nullptr;
    for (const char* marker : {SpacedMarker, UnspacedMarker}) {
        for (const char* at = std::strstr(text, marker); at != nullptr;
             at = std::strstr(at + 1, marker)) {
            if (last == nullptr || at > last) {
                last = at;
            }
        }
    }
    return last;
}

bool isOpenBlock(const std::string& text) {
    const char* marker = lastMarker(text.c_str());
    return marker != nullptr && std::strchr(marker, '>') == nullptr;
}

// What a wrapped block's next line is made of, up to its ">".
bool continuesBlock(const std::string& text) {
    if (text.empty() || lastMarker(text.c_str()) != nullptr) {
        return false;
    }
    for (const char c : text) {
        if (c == '>') {
            return true;
        }
        const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
        if (!hex && c != '=' && c != 'x' && c != 'X' && c != ' ' && c != '\t' && c != ':') {
            return false;
        }
    }
    return true;
}

bool beginsWith(ByteInput& input, unsigned char first, unsigned char second) {
    return input.peek(2) >= 2 && static_cast<unsigned char>(input.data()[0]) == first &&
           static_cast<unsigned char>(input.data()[1]) == second;
}

}  // namespace

LooseReader::LooseReader(ByteSource& source, std::size_t blockSize)
    : source_(source), blockSize_(blockSize) {}

bool LooseReader::failed() const {
    return raw_ != nullptr && raw_->failed();
}

void LooseReader::chooseDecoding() {
    raw_ = std::make_unique<ByteInput>(source_, blockSize_);
    input_ = raw_.get();
    const std::size_t peeked = input_->peek(6);
    compression_ = unreadCompression(input_->data(), peeked);
    if (beginsWith(*input_, 0x1F, 0x8B)) {
        gzip_ = std::make_unique<GzipSource>(*input_);
        inflated_ = std::make_unique<ByteInput>(*gzip_, blockSize_);
        input_ = inflated_.get();
    }
    const bool little = beginsWith(*input_, 0xFF, 0xFE);
    if (little || beginsWith(*input_, 0xFE, 0xFF)) {
        bigEndian_ = !little;
        input_->consume(2);
        utf16_ = std::make_unique<Utf16Source>(*input_, bigEndian_);
        decoded_ = std::make_unique<ByteInput>(*utf16_, blockSize_);
        input_ = decoded_.get();
    }
}

void LooseReader::note(Mend mend, std::size_t line) {
    MendLines& lines = mends_[mend];
    if (lines.count++ == 0) {
        lines.first = line;
    }
    lines.last = line;
}

// Cuts a line that reached LineLimit into a piece to hand out now and the
// start of the next piece.
void LooseReader::endPiece(std::string& text, std::size_t line) {
    const std::size_t close = text.rfind('>');
    if (close != std::string::npos) {
        carry_.assign(text, close + 1, std::string::npos);
        text.resize(close + 1);
    } else if (lastMarker(text.c_str()) != nullptr) {
        note(Cut, line);
        carry_.clear();
    } else {
        carry_.assign(text, text.size() - CutOverlap, std::string::npos);
        text.resize(text.size() - CutOverlap);
    }
    inPiece_ = true;
}

// Reads one physical line, or the next piece of a long one; false when the
// input has ended and nothing is left.
bool LooseReader::readLine(std::string& text, std::size_t& line) {
    text.swap(carry_);
    carry_.clear();
    // The line before ended in CR: the next byte tells whether it ended the
    // line number, as CR LF, or was a CR alone. It is looked at only now,
    // when the next line is wanted, so that a line is handed out without
    // waiting for a byte that may be long in coming, and a CR alone is
    // named at the same point however the input arrived.
    if (afterCr_) {
        afterCr_ = false;
        if ((input_->available() > 0 || input_->fill()) && input_->data()[0] == '\n') {
            input_->consume(1);
            ++nextLine_;
        } else if (crMatters_) {
            note(LoneCr, nextLine_);
        }
    }
    line = nextLine_;
    bool any = inPiece_;
    inPiece_ = false;
    for (;;) {
        if (input_->available() == 0 && !input_->fill()) {
            return any || !text.empty();
        }
        const char* data = input_->data();
        const std::size_t available = input_->available();
        std::size_t run = 0;
        const std::size_t room = LineLimit - text.size();
        while (run < available && run < room && !isSpecial(data[run])) {
            ++run;
        }
        text.append(data, run);
        input_->consume(run);
        any = true;
        if (text.size() >= LineLimit) {
            endPiece(text, line);
            return true;
        }
        if (run == available) {
            continue;
        }
        const char c = data[run];
        input_->consume(1);
        if (c == '\r' || c == '\n') {
            // Line numbers count line feeds, as grep -n and the window do;
            // a CR alone ends the line read but not the line number.
            afterCr_ = c == '\r';
            if (c == '\n') {
                ++nextLine_;
            }
            // A modem's echo ends in CR alone on every serial line: only a
            // lone CR after a block or an OK changes what the window reads.
            crMatters_ =
                afterCr_ && (lastMarker(text.c_str()) != nullptr || text.compare(0, 2, "OK") == 0);
            if (text.size() > WindowLineLimit && lastMarker(text.c_str()) != nullptr) {
                note(LongLine, line);
            }
            return true;
        }
        note(c == '\0' ? NulSkipped : EndOfTextSkipped, line);
    }
}

char* LooseReader::handOut(std::string& text, std::size_t line) {
    if (removeEscapes(text)) {
        note(Escapes, line);
    }
    const std::size_t stamp = timeStampLength(text);
    if (stamp != 0) {
        text.erase(0, stamp);
        note(TimeStamps, line);
    }
    out_.swap(text);
    handedLine_ = line;
    return &out_[0];
}

char* LooseReader::next() {
    if (input_ == nullptr) {
        chooseDecoding();
    }
    for (;;) {
        if (!haveHeld_) {
            if (!readLine(held_, heldLine_)) {
                return nullptr;
            }
            haveHeld_ = true;
        }
        if (!isOpenBlock(held_) || !readLine(ahead_, aheadLine_)) {
            break;
        }
        if (continuesBlock(ahead_) && held_.size() + ahead_.size() <= JoinLimit) {
            held_ += ahead_;
            note(Joined, aheadLine_);
            continue;
        }
        char* text = handOut(held_, heldLine_);
        held_.swap(ahead_);
        heldLine_ = aheadLine_;
        return text;
    }
    haveHeld_ = false;
    return handOut(held_, heldLine_);
}

std::vector<std::string> LooseReader::takeMends() {
    std::vector<std::string> messages;
    if (gzip_ != nullptr) {
        if (!GzipSource::readable()) {
            if (!gzipDamageSaid_) {
                gzipDamageSaid_ = true;
                messages.emplace_back(
                    "loose reading: gzip data cannot be read here; unpack it first!");
            }
            return messages;
        }
        messages.emplace_back("loose reading: gzip data inflated!");
        if (gzip_->damaged() && !gzipDamageSaid_) {
            gzipDamageSaid_ = true;
            messages.emplace_back("loose reading: the gzip data is damaged, the rest is lost!");
        }
    }
    if (utf16_ != nullptr) {
        messages.emplace_back(bigEndian_ ? "loose reading: UTF-16 text (big-endian) decoded!"
                                         : "loose reading: UTF-16 text (little-endian) decoded!");
    }
    for (int mend = 0; mend < MendCount; ++mend) {
        MendLines& lines = mends_[mend];
        if (lines.count == 0) {
            continue;
        }
        std::string message = std::string("loose reading: ") + MendTexts[mend];
        if (lines.first == lines.last) {
            message += " in line " + std::to_string(lines.first);
        } else {
            message +=
                " in lines " + std::to_string(lines.first) + " to " + std::to_string(lines.last);
        }
        messages.push_back(message + "!");
        lines = MendLines();
    }
    return messages;
}
