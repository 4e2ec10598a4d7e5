// Each check is a small hand-written matcher over one line: they run on
// lines the fast search has already found suspicious, or on every line of
// a loose reading, where a line is read once anyway.

#include "capture_repairs.h"

#include "catalogue.h"

namespace {

constexpr char Escape = 0x1B;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

class Cursor {
  public:
    explicit Cursor(std::string_view text) : text_(text) {}
    bool atEnd() const { return at_ == text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[at_]; }
    char take() { return atEnd() ? '\0' : text_[at_++]; }
    std::size_t skip(bool (*test)(char)) {
        const std::size_t from = at_;
        while (!atEnd() && test(text_[at_])) {
            ++at_;
        }
        return at_ - from;
    }
    std::size_t at() const { return at_; }

  private:
    std::string_view text_;
    std::size_t at_ = 0;
};

bool isValueCharacter(char c) {
    return !isBlank(c) && c != '>' && c != '<' && c != '\0';
}

// key=value tokens, blanks between them, then ">" and nothing but blanks,
// or the end of the text (the scan cuts its input lines at ">").
bool isWellFormedRest(Cursor cursor) {
    std::size_t tokens = 0;
    for (;;) {
        cursor.skip(isBlank);
        if (cursor.atEnd()) {
            return tokens > 0;
        }
        if (cursor.peek() == '>') {
            cursor.take();
            cursor.skip(isBlank);
            return tokens > 0 && cursor.atEnd();
        }
        const std::size_t digits = cursor.skip(isHexDigit);
        cursor.skip(isBlank);
        if (digits == 0 || digits > 8 || cursor.take() != '=') {
            return false;
        }
        cursor.skip(isBlank);
        if (cursor.skip(isValueCharacter) == 0) {
            return false;
        }
        ++tokens;
    }
}

bool isStampCharacter(char c) {
    return isDigit(c) || c == '-' || c == ':' || c == '.' || c == ',' || c == '/' || c == ' ' ||
           c == 'T' || c == 'Z' || c == '+';
}

// "dd:dd:dd" with optional fractions.
bool takeClock(Cursor& cursor) {
    for (int part = 0; part < 3; ++part) {
        if (part > 0 && cursor.take() != ':') {
            return false;
        }
        if (cursor.skip(isDigit) != 2) {
            return false;
        }
    }
    if (cursor.peek() == '.' || cursor.peek() == ',') {
        cursor.take();
        return cursor.skip(isDigit) > 0;
    }
    return true;
}

std::size_t isoStamp(std::string_view line) {
    Cursor cursor(line);
    if (cursor.skip(isDigit) != 4 || cursor.take() != '-' || cursor.skip(isDigit) != 2 ||
        cursor.take() != '-' || cursor.skip(isDigit) != 2) {
        return 0;
    }
    const char between = cursor.take();
    if ((between != 'T' && between != ' ') || !takeClock(cursor)) {
        return 0;
    }
    if (cursor.peek() == 'Z') {
        cursor.take();
    } else if (cursor.peek() == '+' || cursor.peek() == '-') {
        cursor.take();
        if (cursor.skip(isDigit) != 2) {
            return 0;
        }
        if (cursor.peek() == ':') {
            cursor.take();
        }
        if (cursor.skip(isDigit) != 2) {
            return 0;
        }
    }
    return isBlank(cursor.peek()) ? cursor.at() : 0;
}

std::size_t syslogStamp(std::string_view line) {
    static const char Months[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    if (line.size() < 16) {
        return 0;
    }
    bool month = false;
    for (std::size_t i = 0; i + 3 <= sizeof Months - 1; i += 3) {
        month = month || line.compare(0, 3, Months + i, 3) == 0;
    }
    Cursor cursor(line.substr(3));
    if (!month || cursor.skip(isBlank) == 0) {
        return 0;
    }
    const std::size_t day = cursor.skip(isDigit);
    if (day == 0 || day > 2 || cursor.take() != ' ' || !takeClock(cursor)) {
        return 0;
    }
    return isBlank(cursor.peek()) ? cursor.at() + 3 : 0;
}

std::size_t bracketedStamp(std::string_view line) {
    if (line.size() < 3 || line[0] != '[' || !isDigit(line[1])) {
        return 0;
    }
    bool clock = false;
    for (std::size_t i = 1; i < line.size() && i < 48; ++i) {
        if (line[i] == ']') {
            return clock ? i + 1 : 0;
        }
        if (!isStampCharacter(line[i])) {
            return 0;
        }
        clock = clock || line[i] == ':';
    }
    return 0;
}

}  // namespace

std::size_t damagedMarkerTokens(std::string_view line) {
    static constexpr std::string_view Word("DIAG");
    static constexpr std::string_view Key(SpacedMarker + 6, 8);
    static_assert(SpacedMarker[5] == '<', "the key follows the marker's \"<\"");
    Cursor cursor(line);
    cursor.skip(isBlank);
    int damaged = 0;
    bool caseOnly = true;
    for (const char expected : Word) {
        const char c = cursor.take();
        if (c != expected) {
            ++damaged;
            caseOnly = caseOnly && upper(c) == expected;
        }
    }
    const std::size_t before = cursor.skip(isBlank);
    if (cursor.take() != '<') {
        ++damaged;
        caseOnly = false;
    }
    const std::size_t after = cursor.skip(isBlank);
    for (const char expected : Key) {
        const char c = cursor.take();
        if (upper(c) != expected) {
            ++damaged;
            caseOnly = false;
        }
    }
    const bool oddSpacing = before > 1 || after > 0;
    if (!isBlank(cursor.take()) || (damaged > 1 && !caseOnly) || (damaged == 0 && !oddSpacing)) {
        return 0;
    }
    const std::size_t tokens = cursor.at();
    return isWellFormedRest(cursor) ? tokens : 0;
}

std::size_t timeStampLength(std::string_view line) {
    std::size_t length = bracketedStamp(line);
    if (length == 0) {
        length = isoStamp(line);
    }
    if (length == 0) {
        length = syslogStamp(line);
    }
    if (length == 0) {
        return 0;
    }
    while (length < line.size() && isBlank(line[length])) {
        ++length;
    }
    return length;
}

const char* unreadCompression(const char* bytes, std::size_t count) {
    static const struct {
        const char* program;
        std::string_view magic;
    } Formats[] = {
        {"xz", std::string_view("\xFD"
                                "7zXZ\0",
                                6)},
        {"zstd", std::string_view("\x28\xB5\x2F\xFD", 4)},
        {"lz4", std::string_view("\x04\x22\x4D\x18", 4)},
    };
    const std::string_view start(bytes, count);
    for (const auto& format : Formats) {
        if (start.substr(0, format.magic.size()) == format.magic) {
            return format.program;
        }
    }
    if (count >= 4 && start.substr(0, 3) == "BZh" && bytes[3] >= '1' && bytes[3] <= '9') {
        return "bzip2";
    }
    return nullptr;
}

bool removeEscapes(std::string& text) {
    if (text.find(Escape) == std::string::npos) {
        return false;
    }
    std::size_t out = 0;
    for (std::size_t in = 0; in < text.size();) {
        if (text[in] != Escape) {
            text[out++] = text[in++];
            continue;
        }
        ++in;
        if (in < text.size() && text[in] == '[') {
            ++in;
            while (in < text.size() && !(text[in] >= 0x40 && text[in] <= 0x7E)) {
                ++in;
            }
        }
        if (in < text.size()) {
            ++in;
        }
    }
    text.resize(out);
    return true;
}
