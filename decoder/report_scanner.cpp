// The line loop and the token loop of a decoding run.

#include "report_scanner.h"

#include <cstring>
#include <string>
#include <string_view>

#include "capture_repairs.h"
#include "catalogue.h"
#include "hex_number.h"
#include "number_text.h"
#include "value_rendering.h"

namespace {

const char EndWord[] = "OK";

// Aligned, because glibc's strcspn reads a set that is not aligned more
// slowly, and it runs once for every line.
alignas(16) const char LineSeparators[] = ">\n\r";

// A delimiter set as a table of every byte: tokens are a few characters
// long, too short for strspn and strcspn to earn their call.
struct DelimiterSet {
    // 1 for a delimiter, 2 for the terminating zero, 0 for any other byte.
    unsigned char kind[256];
    constexpr explicit DelimiterSet(const char* delimiters) : kind() {
        for (const char* d = delimiters; *d != '\0'; ++d) {
            kind[static_cast<unsigned char>(*d)] = 1;
        }
        kind[0] = 2;
    }
    unsigned char of(char c) const { return kind[static_cast<unsigned char>(c)]; }
};
constexpr DelimiterSet TokenDelimiters(">: \n\r\t\f");
constexpr DelimiterSet ValueDelimiters(" \t");

// Most input lines fail on their first character, so that is tested before
// the call.
template <std::size_t N>
bool startsWith(const char* text, const char (&prefix)[N]) {
    return text[0] == prefix[0] && std::strncmp(text, prefix, N - 1) == 0;
}

// Hands out tokens of one input line the way strtok does, cutting the line
// in place and keeping its place between calls, but each call may use its
// own delimiter set.
class Tokenizer {
  public:
    explicit Tokenizer(char* text) : next_(text) {}

    char* take(const DelimiterSet& delimiters) {
        while (delimiters.of(*next_) == 1) {
            ++next_;
        }
        if (*next_ == '\0') {
            return nullptr;
        }
        char* token = next_;
        while (delimiters.of(*next_) == 0) {
            ++next_;
        }
        if (*next_ != '\0') {
            *next_++ = '\0';
        }
        return token;
    }

  private:
    char* next_;
};

void reportUnrecognizedKey(std::uint32_t key, ReportCollector& collector) {
    const char start[] = "unrecognized key ";
    char message[sizeof start + MaxNumberDigits + 1];
    std::memcpy(message, start, sizeof start - 1);
    char* end = writeNumber(message + sizeof start - 1, key, 16);
    end[0] = '!';
    collector.message(std::string_view(message, static_cast<std::size_t>(end + 1 - message)));
}

// Shows the input line as tokenising has left it: the marker and the first
// token, which is where the first cut ended the text.
void reportBadFormat(const char* inputLine, ReportCollector& collector) {
    collector.message(std::string("unrecognized format '") + inputLine + "'!");
}

// A format error abandons the rest of the input line.
void scanTokens(char* inputLine, char* tokens, ScanState& state) {
    Tokenizer tokenizer(tokens);
    for (char* token = tokenizer.take(TokenDelimiters); token != nullptr;
         token = tokenizer.take(TokenDelimiters)) {
        const HexNumber key = parseHexNumber(token);
        const auto location = findKeyEntry(key.value);
        if (!location) {
            reportUnrecognizedKey(key.value, state.collector);
            state.collector.keyUnrecognized(token);
            continue;
        }
        // The "=" and the value may stand apart, separated by spaces or tabs.
        const char* cursor = key.end;
        if ((*cursor == '\0' && (cursor = tokenizer.take(ValueDelimiters)) == nullptr) ||
            *cursor != '=' ||
            (*++cursor == '\0' && (cursor = tokenizer.take(ValueDelimiters)) == nullptr)) {
            reportBadFormat(inputLine, state.collector);
            state.collector.formatBroken(token);
            return;
        }
        const std::size_t bit = static_cast<std::size_t>(location->entry * 2 + location->column);
        if (state.reportKeys.test(bit) && !state.mergeNoted) {
            state.mergeNoted = true;
            state.notes |= MergedCallNote;
        }
        state.blockKeys.set(bit);
        renderValue(state.slots, location->entry, location->column, key.value, cursor);
        state.collector.valueRendered(location->entry, location->column, key.value,
                                      std::string_view(token, key.end - token), cursor);
    }
}

// Whether the block's tokens set a key the report already holds, read the
// way scanTokens reads them, from a copy.
bool repeatsKey(const char* tokens, ScanState& state) {
    state.scratch.assign(tokens);
    Tokenizer tokenizer(&state.scratch[0]);
    for (char* token = tokenizer.take(TokenDelimiters); token != nullptr;
         token = tokenizer.take(TokenDelimiters)) {
        const HexNumber key = parseHexNumber(token);
        const auto location = findKeyEntry(key.value);
        if (!location) {
            continue;
        }
        if (state.reportKeys.test(
                static_cast<std::size_t>(location->entry * 2 + location->column))) {
            return true;
        }
        const char* cursor = key.end;
        if ((*cursor == '\0' && (cursor = tokenizer.take(ValueDelimiters)) == nullptr) ||
            *cursor != '=' || (*++cursor == '\0' && tokenizer.take(ValueDelimiters) == nullptr)) {
            return false;
        }
    }
    return false;
}

// "ok" or "Ok" and nothing else: how some terminals and loggers write it.
bool isLowerEndWord(const char* inputLine) {
    return (inputLine[0] == 'o' || inputLine[0] == 'O') && inputLine[1] == 'k' &&
           inputLine[2] == '\0';
}

// The tokens of a block begin right after its marker, or null if the line
// does not begin with one.
char* blockTokens(char* inputLine) {
    if (startsWith(inputLine, SpacedMarker)) {
        return inputLine + sizeof SpacedMarker - 1;
    }
    if (startsWith(inputLine, UnspacedMarker)) {
        return inputLine + sizeof UnspacedMarker - 1;
    }
    return nullptr;
}

// The first marker in an input line, whichever form comes first, or null.
char* markerInLine(char* inputLine) {
    char* spaced = std::strstr(inputLine, SpacedMarker);
    char* unspaced = std::strstr(inputLine, UnspacedMarker);
    if (spaced == nullptr || (unspaced != nullptr && unspaced < spaced)) {
        return unspaced;
    }
    return spaced;
}

bool isWordCharacter(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "OK" with no letter or digit right before or after it.
bool holdsEndWordAlone(const char* inputLine) {
    for (const char* at = std::strstr(inputLine, EndWord); at != nullptr;
         at = std::strstr(at + 1, EndWord)) {
        if ((at == inputLine || !isWordCharacter(at[-1])) && !isWordCharacter(at[2])) {
            return true;
        }
    }
    return false;
}

}  // namespace

const char* findBlockMarker(std::string_view text) {
    std::size_t at = text.find(SpacedMarker);
    if (at == std::string_view::npos) {
        at = text.find(UnspacedMarker);
    }
    return at != std::string_view::npos ? text.data() + at : nullptr;
}

void beginScanReport(ScanState& state) {
    state.reportKeys.reset();
    state.mergeNoted = false;
    state.markerInsideNoted = false;
}

bool scanChunk(char* chunk, ScanState& state) {
    char* p = chunk;
    state.blockAtEnd = false;
    while (*p != '\0') {
        while (isSpaceCharacter(*p)) {
            ++p;
        }
        char* inputLine = p;
        p += std::strcspn(p, LineSeparators);
        char* end = p;
        char* const separatorAt = p;
        const char separator = *p;
        const bool atEnd = *p == '\0';
        if (!atEnd) {
            *p++ = '\0';
        }
        if (end == inputLine) {
            continue;
        }
        while (end > inputLine && isSpaceCharacter(end[-1])) {
            *--end = '\0';
        }
        if (state.blockSeen && startsWith(inputLine, EndWord)) {
            state.rest = p;
            return true;
        }
        char* tokens = blockTokens(inputLine);
        if (tokens == nullptr && state.looseMarkers) {
            char* marker = markerInLine(inputLine);
            if (marker != nullptr) {
                inputLine = marker;
                tokens = blockTokens(marker);
            } else if (state.blockSeen && (holdsEndWordAlone(inputLine) ||
                                           (state.splitCalls && isLowerEndWord(inputLine)))) {
                state.rest = p;
                return true;
            } else if (state.splitCalls) {
                const std::size_t at = damagedMarkerTokens(inputLine);
                if (at != 0) {
                    tokens = inputLine + at;
                    state.notes |= DamagedMarkerReadNote;
                }
            }
        }
        if (tokens == nullptr) {
            if (!state.looseMarkers) {
                if (markerInLine(inputLine) != nullptr) {
                    if (!state.markerInsideNoted) {
                        state.markerInsideNoted = true;
                        state.notes |= MarkerInsideNote;
                    }
                } else if (damagedMarkerTokens(inputLine) != 0) {
                    state.notes |= DamagedMarkerNote;
                }
            }
            continue;
        }
        if (state.splitCalls && state.blockSeen && repeatsKey(tokens, state)) {
            // The line goes back as it was, for the next report to scan.
            for (char* blank = end; blank < separatorAt; ++blank) {
                *blank = ' ';
            }
            *separatorAt = separator;
            state.rest = inputLine;
            state.nextCall = true;
            return true;
        }
        state.blockSeen = true;
        state.blockAtEnd = atEnd;
        state.collector.blockMet(inputLine);
        state.blockKeys.reset();
        scanTokens(inputLine, tokens, state);
        state.reportKeys |= state.blockKeys;
        state.collector.blockEnded();
        if (state.itemLimit != 0 && state.collector.items() > state.itemLimit) {
            state.overLimit = true;
            state.rest = p;
            return true;
        }
    }
    return false;
}
