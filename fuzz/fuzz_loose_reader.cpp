// Fuzzes the tolerant reading (--loose, and a port's answer): the input is
// read loosely with every report and the item limit, once handed out whole
// and once in pieces of 1 to 7 bytes. Both must give the same reports and
// text, in well-formed lines; gzip and UTF-16 inputs are decoded inside the
// same run, so their damaged forms are fuzzed too, and so are the repairs
// of time stamps, escape sequences, damaged markers and merged calls.
// Nothing of a block is lost without a word: every word after a marker, up
// to its ">", is in some report's tokens, in the text a report dropped, or
// in a message.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_set>

#include "catalogue.h"
#include "decoding_run.h"
#include "loose_reader.h"
#include "output_checks.h"

namespace {

// Where the scan cuts tokens, the "=" inside them, and the white space it
// trims from a line's end.
constexpr std::string_view WordBreaks(" \t\v\f:=>", 7);

template <typename Take>
void forEachWord(std::string_view text, Take take) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find_first_of(WordBreaks, at), text.size());
        if (end > at) {
            take(text.substr(at, end - at), end == text.size());
        }
        at = end + 1;
    }
}

// The words a run hands out: its tokens, the text it dropped, its messages.
class WordWriter : public CheckedText {
  public:
    WordWriter() : CheckedText("") {}
    void message(std::string_view text) override {
        CheckedText::message(text);
        add(text);
    }
    void block(const ReportBlock& block) override {
        CheckedText::block(block);
        for (const ReportToken& token : block.tokens) {
            add(token.key);
            add(token.value.value_or(""));
        }
        add(block.unparsed.value_or(""));
    }

    std::unordered_set<std::string> words;
    std::string all;  // for a word that a wrapped line cut

  private:
    void add(std::string_view text) {
        forEachWord(text, [this](std::string_view word, bool) { words.emplace(word); });
        all.append(text).push_back('\n');
    }
};

// Plain text only (gzip and UTF-16 are checked above by their pieces); lines
// with escape sequences are left out, as their removal is named.
void requireWordsKept(const std::uint8_t* data, std::size_t size, const WordWriter& writer) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (size >= 2 && (input.substr(0, 2) == "\x1F\x8B" || input.substr(0, 2) == "\xFF\xFE" ||
                      input.substr(0, 2) == "\xFE\xFF")) {
        return;
    }
    for (std::size_t start = 0; start < size;) {
        const std::size_t end = std::min(input.find_first_of("\r\n", start), size);
        std::string line(input.substr(start, end - start));
        start = end + 1;
        if (line.size() >= LooseReader::LineLimit || line.find('\x1B') != std::string::npos) {
            continue;
        }
        line.erase(std::remove_if(line.begin(), line.end(),
                                  [](char c) { return c == '\0' || c == '\x1A'; }),
                   line.end());
        for (const char* marker : {SpacedMarker, UnspacedMarker}) {
            for (std::size_t at = line.find(marker); at != std::string::npos;
                 at = line.find(marker, at + 1)) {
                const std::size_t from = at + std::strlen(marker);
                const std::size_t close = line.find('>', from);
                const std::string_view tokens = std::string_view(line).substr(
                    from, close == std::string::npos ? close : close - from);
                forEachWord(tokens, [&](std::string_view word, bool last) {
                    // A line without ">" may go on in the next one, its last word too.
                    const bool cut = last && close == std::string::npos;
                    require(writer.words.count(std::string(word)) != 0 ||
                                (cut && writer.all.find(word) != std::string::npos),
                            "every word of a block is in a report or a message");
                });
            }
        }
    }
}

std::string decodeLoosely(const std::uint8_t* data, std::size_t size, bool trickle,
                          std::string* text, WordWriter& writer) {
    PieceSource source(data, size, size, trickle);
    RunSettings settings;
    settings.looseReading = true;
    // As --loose reads: markers anywhere, damaged markers, merged calls.
    settings.looseMarkers = true;
    settings.scope = ReportScope::Every;
    settings.reportItemLimit = ReportItemLimit;
    const RunOutcome outcome = decodeReports(source, settings, writer);
    require(!outcome.readFailed, "a memory source is read whole");
    linesOf(writer.text, "");
    *text = writer.text;
    return writer.reports;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string wholeText;
    std::string trickledText;
    WordWriter wholeWriter;
    WordWriter trickledWriter;
    const std::string whole = decodeLoosely(data, size, false, &wholeText, wholeWriter);
    const std::string trickled = decodeLoosely(data, size, true, &trickledText, trickledWriter);
    require(whole == trickled, "pieces of any size read to the same reports");
    require(wholeText == trickledText, "pieces of any size read to the same text");
    requireWordsKept(data, size, wholeWriter);
    return 0;
}
