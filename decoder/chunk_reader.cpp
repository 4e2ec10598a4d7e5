// The chunk arithmetic below relies on what the text-mode translation
// leaves alone: it only ever drops a CR right before an LF, so inside an
// input line a raw byte offset is also a character offset, and a line of n
// characters before its line feed is cut into chunks at every 511th one.

#include "chunk_reader.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "capture_repairs.h"
#include "catalogue.h"
#include "line_count.h"

namespace {

constexpr std::size_t ChunkCharacters = ChunkReader::ChunkSize - 1;
constexpr std::size_t None = static_cast<std::size_t>(-1);
constexpr char EndOfText = 0x1A;

// Where a marker's key begins: right after its '<'.
template <std::size_t N>
constexpr std::size_t keyStart(const char (&marker)[N]) {
    std::size_t i = 0;
    while (marker[i] != '<') {
        ++i;
    }
    return i + 1;
}

// Both markers end in the marker key and a space. The key holds no CR or LF,
// and a byte search finds it fast.
constexpr std::size_t MarkerKeyLength = sizeof SpacedMarker - keyStart(SpacedMarker) - 2;
constexpr std::string_view MarkerKey(SpacedMarker + keyStart(SpacedMarker), MarkerKeyLength);
constexpr std::string_view SpacedStart(SpacedMarker, keyStart(SpacedMarker));
constexpr std::string_view UnspacedStart(UnspacedMarker, keyStart(UnspacedMarker));

constexpr bool markersEndAlike() {
    if (sizeof UnspacedMarker - keyStart(UnspacedMarker) != MarkerKeyLength + 2) {
        return false;
    }
    for (std::size_t i = 0; i < MarkerKeyLength + 1; ++i) {
        if (SpacedMarker[keyStart(SpacedMarker) + i] !=
            UnspacedMarker[keyStart(UnspacedMarker) + i]) {
            return false;
        }
    }
    return true;
}
static_assert(markersEndAlike(), "both markers end in the marker key and a space");

// A marker needs its key, the space after it and something the scanner
// does not trim away after that.
constexpr std::size_t CandidateLength = MarkerKey.size() + 2;
// Searched for first: the '<' right before the key, which a capture's other
// lines seldom hold, unless an empty block's '>' follows where the first
// token would begin (the search passes a capture's "DIAG <2A4D3263 >" without
// a stop). A further check of what stands around a marker can sit at the
// same stops.
constexpr ByteStop MarkerStop{'<', CandidateLength, '>'};

bool endsInputLine(char c) {
    return c == '>' || c == '\n' || c == '\r' || c == '\0';
}

// What a whole reading would still find after a NUL or a 0x1A: anything
// but blanks and more of those bytes.
bool isBlankByte(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0' || c == EndOfText;
}

// The first bytes of gzip data and the byte order marks of UTF-16.
bool beginsEncoded(const char* bytes, std::size_t count) {
    if (count < 2) {
        return false;
    }
    const auto first = static_cast<unsigned char>(bytes[0]);
    const auto second = static_cast<unsigned char>(bytes[1]);
    return (first == 0x1F && second == 0x8B) || (first == 0xFF && second == 0xFE) ||
           (first == 0xFE && second == 0xFF);
}

bool precededBy(const char* block, std::size_t begin, std::size_t position, std::string_view text) {
    return position - begin >= text.size() &&
           std::memcmp(block + position - text.size(), text.data(), text.size()) == 0;
}

}  // namespace

ChunkReader::ChunkReader(ByteSource& source, std::size_t blockSize, bool countLines,
                         WindowDrops* drops)
    : source_(source),
      blockSize_(std::max(blockSize, MinimumBlockSize)),
      countLines_(countLines || drops != nullptr),
      drops_(drops),
      block_(new char[blockSize_]) {}

char* ChunkReader::next(bool skipUnmarked) {
    if (skipUnmarked && !skipToCandidate()) {
        return nullptr;
    }
    return takeChunk();
}

// Moves begin_ to the start of the chunk holding the next candidate, or to
// the end of the input when there is none.
bool ChunkReader::skipToCandidate() {
    for (;;) {
        if (failed_) {
            return false;
        }
        searched_ = std::max(searched_, begin_);
        const std::size_t candidate = findCandidate();
        if (candidate != None) {
            advanceTo(chunkStartBefore(candidate));
            return true;
        }
        if (streamEnded_) {
            advanceTo(end_);
            return false;
        }
        advanceTo(chunkStartBefore(searched_));
        fill();
    }
}

// The first candidate at or after searched_, or None; then searched_ is
// where the search must go on once more bytes have been read. A candidate
// is the key with a marker's start before it and a possible token after it,
// all inside [begin_, end_): a marker that reaches back before begin_ is
// cut by a chunk start and never recognised. The line feeds the search
// passes are counted on the way (counted_).
std::size_t ChunkReader::findCandidate() {
    const char* block = block_.get();
    // A key at searched_ has its '<' one byte before.
    std::size_t from = std::max(begin_, searched_ > 0 ? searched_ - 1 : 0);
    for (;;) {
        countTo(from);
        const std::size_t stop = static_cast<std::size_t>(
            findCountingLineFeeds(block + from, block + end_, MarkerStop, aheadLines_) - block);
        counted_ = stop;
        if (stop == end_) {
            searched_ = end_;
            return None;
        }
        const std::size_t key = stop + 1;
        if (end_ - key < CandidateLength) {
            searched_ = streamEnded_ ? end_ : key;
            return None;
        }
        from = key;
        if (std::memcmp(block + key, MarkerKey.data(), MarkerKey.size()) == 0 &&
            block[key + MarkerKey.size()] == ' ' &&
            !endsInputLine(block[key + MarkerKey.size() + 1]) &&
            (precededBy(block, begin_, key, SpacedStart) ||
             precededBy(block, begin_, key, UnspacedStart))) {
            searched_ = key;
            return key;
        }
        if (drops_ != nullptr) {
            passedStops_.push_back(stop);
        }
    }
}

// Moves counted_ to position, keeping aheadLines_ the line feeds in
// [begin_, counted_).
void ChunkReader::countTo(std::size_t position) {
    const char* block = block_.get();
    if (position >= counted_) {
        aheadLines_ += countLineFeeds(block + counted_, block + position);
    } else {
        aheadLines_ -= countLineFeeds(block + position, block + counted_);
    }
    counted_ = position;
}

// The last chunk start at or before position, from begin_ (a chunk start)
// or the last line start before position.
std::size_t ChunkReader::chunkStartBefore(std::size_t position) const {
    const char* block = block_.get();
    std::size_t lineStart = position;
    while (lineStart > begin_ && block[lineStart - 1] != '\n') {
        --lineStart;
    }
    std::size_t start = lineStart + (position - lineStart) / ChunkCharacters * ChunkCharacters;
    // Between the CR and the LF of a line end: that CR LF is one character,
    // and the chunk holding it began 511 bytes earlier.
    if (start > lineStart && start < end_ && block[start] == '\n' && block[start - 1] == '\r') {
        start -= ChunkCharacters;
    }
    return start;
}

void ChunkReader::advanceTo(std::size_t position) {
    if (drops_ != nullptr && position > begin_) {
        noteDamagedMarkers(position);
    }
    if (position > begin_) {
        lineAtBegin_ = block_[position - 1] == '\n';
    }
    if (position >= counted_) {
        countTo(position);
        nextLine_ += aheadLines_;
        aheadLines_ = 0;
    } else {
        const std::size_t after = countLineFeeds(block_.get() + position, block_.get() + counted_);
        nextLine_ += aheadLines_ - after;
        aheadLines_ = after;
    }
    begin_ = position;
}

// Moves the unread bytes to the front and reads as many more as fit.
void ChunkReader::fill() {
    char* block = block_.get();
    if (begin_ > 0) {
        std::memmove(block, block + begin_, read_ - begin_);
        end_ -= begin_;
        read_ -= begin_;
        searched_ -= std::min(searched_, begin_);
        counted_ -= begin_;
        // Stops inside a chunk handed out are no longer wanted.
        passedStops_.erase(std::remove_if(passedStops_.begin(), passedStops_.end(),
                                          [this](std::size_t stop) { return stop < begin_; }),
                           passedStops_.end());
        for (std::size_t& stop : passedStops_) {
            stop -= begin_;
        }
        begin_ = 0;
    }
    if (streamEnded_ || read_ == blockSize_) {
        return;
    }
    // After a read error nothing more is handed out.
    const std::ptrdiff_t got = source_.readSome(block + read_, blockSize_ - read_);
    const std::size_t count = got > 0 ? static_cast<std::size_t>(got) : 0;
    streamEnded_ = got <= 0;
    sourceEnded_ = got <= 0;
    failed_ = got < 0;
    if (firstRead_ && count > 0) {
        firstRead_ = false;
        if (drops_ != nullptr && beginsEncoded(block + read_, count)) {
            drops_->note(DropKind::Encoded, 1);
        }
        if (drops_ != nullptr) {
            drops_->compression = unreadCompression(block + read_, count);
        }
    }
    const void* endOfText = std::memchr(block + read_, EndOfText, count);
    read_ += count;
    if (endOfText != nullptr) {
        end_ = static_cast<std::size_t>(static_cast<const char*>(endOfText) - block);
        streamEnded_ = true;
        endOfText_ = true;
    } else {
        end_ = read_;
    }
}

// A chunk can be cut at begin_ once its line feed or 512 bytes (the 511th
// character may be a CR that a line feed would join) are there.
bool ChunkReader::chunkIsWhole() const {
    return end_ - begin_ >= ChunkSize ||
           std::memchr(block_.get() + begin_, '\n', end_ - begin_) != nullptr;
}

// Cuts the chunk at begin_ the way text-mode fgets does. A source may hand
// out a line in pieces.
char* ChunkReader::takeChunk() {
    while (!streamEnded_ && !chunkIsWhole()) {
        fill();
    }
    if (failed_ || end_ == begin_) {
        return nullptr;
    }
    const char* text = block_.get() + begin_;
    const std::size_t available = end_ - begin_;
    const void* lineFeed = std::memchr(text, '\n', std::min<std::size_t>(available, ChunkSize));
    std::size_t length = std::min(available, ChunkCharacters);
    std::size_t consumed = length;
    bool endsLine = false;
    if (lineFeed != nullptr) {
        const auto at = static_cast<std::size_t>(static_cast<const char*>(lineFeed) - text);
        if (at > 0 && text[at - 1] == '\r') {
            length = at;
            consumed = at + 1;
            endsLine = true;
        } else if (at < ChunkCharacters) {
            length = at + 1;
            consumed = at + 1;
            endsLine = true;
        }
    }
    std::memcpy(chunk_, text, length);
    if (endsLine) {
        chunk_[length - 1] = '\n';
    }
    chunk_[length] = '\0';
    begin_ += consumed;
    lineAtBegin_ = endsLine;
    // The chunk holds at most one line feed, at its end.
    if (counted_ >= begin_) {
        aheadLines_ -= endsLine ? 1 : 0;
    } else {
        counted_ = begin_;
        aheadLines_ = 0;
    }
    chunkCut_ = !endsLine && (begin_ < end_ || !streamEnded_);
    line_ = nextLine_;
    if (drops_ != nullptr) {
        const void* nul = std::memchr(chunk_, '\0', length);
        if (nul != nullptr) {
            const char* after = static_cast<const char*>(nul);
            while (after < chunk_ + length && isBlankByte(*after)) {
                ++after;
            }
            if (after < chunk_ + length) {
                drops_->note(DropKind::NulByte, line_);
            }
        }
    }
    if (endsLine) {
        ++nextLine_;
    }
    return chunk_;
}

// The lines passed over from begin_ to position that are blocks but for a
// damaged marker: only a "<" near a line's start can be one, and only one
// where the search stopped (an empty block's "<" it passes holds no token).
// A line is judged on its first chunk, which lies whole before position
// (a chunk start), so the judgement never depends on how much of a longer
// line has arrived.
void ChunkReader::noteDamagedMarkers(std::size_t position) {
    const char* block = block_.get();
    std::size_t at = begin_;
    std::size_t checked = 0;
    for (; checked < passedStops_.size() && passedStops_[checked] < position; ++checked) {
        const std::size_t open = passedStops_[checked];
        if (open < at) {
            continue;
        }
        std::size_t lineStart = open;
        while (lineStart > begin_ && open - lineStart <= 16 && block[lineStart - 1] != '\n') {
            --lineStart;
        }
        if (open - lineStart > 16 || (lineStart == begin_ && !lineAtBegin_)) {
            continue;
        }
        const std::size_t chunkEnd = std::min(lineStart + ChunkCharacters, end_);
        const void* lineFeed = std::memchr(block + open, '\n', chunkEnd - open);
        std::size_t textEnd =
            lineFeed != nullptr
                ? static_cast<std::size_t>(static_cast<const char*>(lineFeed) - block)
                : chunkEnd;
        at = textEnd;
        if (lineFeed == nullptr && textEnd == lineStart + ChunkCharacters) {
            // The cut may fall inside a token: judge the tokens before it.
            while (textEnd > open && block[textEnd - 1] != ' ' && block[textEnd - 1] != '\t') {
                --textEnd;
            }
        } else if (textEnd > open && block[textEnd - 1] == '\r') {
            --textEnd;
        }
        if (damagedMarkerTokens(std::string_view(block + lineStart, textEnd - lineStart)) != 0) {
            drops_->note(DropKind::DamagedMarker,
                         nextLine_ + countLineFeeds(block + begin_, block + lineStart));
        }
    }
    passedStops_.erase(passedStops_.begin(),
                       passedStops_.begin() + static_cast<std::ptrdiff_t>(checked));
}

bool ChunkReader::textAfter(std::size_t from, std::size_t to) const {
    for (std::size_t i = from; i < to; ++i) {
        if (!isBlankByte(block_[i])) {
            return true;
        }
    }
    return false;
}

// The rest of the input is read only as far as the first byte that is not
// blank; the reader hands out nothing more afterwards.
void ChunkReader::noteEndOfText() {
    if (drops_ == nullptr || !endOfText_ || failed_) {
        return;
    }
    advanceTo(end_);
    bool more = textAfter(end_ + 1, read_);
    while (!more && !sourceEnded_) {
        const std::ptrdiff_t got = source_.readSome(block_.get(), blockSize_);
        sourceEnded_ = got <= 0;
        more = got > 0 && textAfter(0, static_cast<std::size_t>(got));
    }
    begin_ = end_ = read_ = counted_ = aheadLines_ = 0;
    if (more) {
        drops_->note(DropKind::EndOfText, nextLine_);
    }
}
