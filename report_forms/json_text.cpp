// Writing the JSON document of a report as text. Strings are escaped in
// one pass that copies runs of plain characters whole.

#include "json_text.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "cut_reasons.h"
#include "line_catalogue.h"

void JsonSink::grow(std::size_t count) {
    const std::size_t capacity = std::max(2 * capacity_, size_ + count + 4096);
    std::unique_ptr<char[]> data(new char[capacity]);
    if (size_ > 0) {
        std::memcpy(data.get(), data_.get(), size_);
    }
    data_ = std::move(data);
    capacity_ = capacity;
}

namespace {

const char Hex[] = "0123456789abcdef";

// A literal's bytes, without counting them at run time.
template <std::size_t N>
void put(JsonSink& out, const char (&text)[N]) {
    out.append(text, N - 1);
}

// The bytes a JSON string holds as they are: printable ASCII but the quote
// and the backslash.
struct PlainBytes {
    bool plain[256];
    PlainBytes() : plain() {
        for (int byte = 0x20; byte < 0x80; ++byte) {
            plain[byte] = byte != '"' && byte != '\\';
        }
    }
};
const PlainBytes Plain;

// Stores the escape of an ASCII control character, a quote or a
// backslash at to; returns where it ends.
char* writeEscape(unsigned code, char* to) {
    const char* shortForm = nullptr;
    switch (code) {
        case '"':
            shortForm = "\\\"";
            break;
        case '\\':
            shortForm = "\\\\";
            break;
        case '\n':
            shortForm = "\\n";
            break;
        case '\r':
            shortForm = "\\r";
            break;
        case '\t':
            shortForm = "\\t";
            break;
        default: {
            const char escape[] = {'\\',
                                   'u',
                                   Hex[(code >> 12) & 15],
                                   Hex[(code >> 8) & 15],
                                   Hex[(code >> 4) & 15],
                                   Hex[code & 15]};
            std::memcpy(to, escape, sizeof escape);
            return to + sizeof escape;
        }
    }
    to[0] = shortForm[0];
    to[1] = shortForm[1];
    return to + 2;
}

void appendEscape(unsigned code, JsonSink& out) {
    char* to = out.reserve(6);
    out.commit(static_cast<std::size_t>(writeEscape(code, to) - to));
}

bool isPlain(unsigned char byte) {
    return Plain.plain[byte];
}

// The length of the UTF-8 sequence at text, or 0 when none begins there.
std::size_t utf8Length(const unsigned char* text, std::size_t left) {
    const unsigned char first = text[0];
    std::size_t length = 0;
    std::uint32_t least = 0;
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
        least = 0x80;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        least = 0x800;
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        least = 0x10000;
    } else {
        return 0;
    }
    if (left < length) {
        return 0;
    }
    std::uint32_t code = first & (0x3F >> (length - 1));
    for (std::size_t i = 1; i < length; ++i) {
        if ((text[i] & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (text[i] & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code < 0xE000;
    return code >= least && code <= 0x10FFFF && !surrogate ? length : 0;
}

void appendNumber(std::size_t n, JsonSink& out) {
    char digits[24];
    std::size_t at = sizeof digits;
    do {
        digits[--at] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    out.append(digits + at, sizeof digits - at);
}

// Inline: it runs a few hundred times a report, mostly on a few bytes.
inline void appendText(std::string_view bytes, JsonSink& out) {
    // Room for the worst case, every byte a six-character escape, then one
    // pass that stores each byte's form straight away.
    char* to = out.reserve(6 * bytes.size() + 2);
    char* const begin = to;
    *to++ = '"';
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (isPlain(byte)) {
            *to++ = c;
        } else if (byte >= 0x80) {
            *to++ = static_cast<char>(0xC0 | (byte >> 6));
            *to++ = static_cast<char>(0x80 | (byte & 0x3F));
        } else {
            to = writeEscape(byte, to);
        }
    }
    *to++ = '"';
    out.commit(static_cast<std::size_t>(to - begin));
}

// The catalogue's labels as JSON strings, quotes included, made once: a
// report writes each of its lines' labels.
struct LabelTexts {
    JsonSink text[LineCount];
    LabelTexts() {
        for (int entry = 0; entry < LineCount; ++entry) {
            const char* label = lineLabel(entry);
            appendText(label != nullptr ? label : "", text[entry]);
        }
    }
};

void appendLabel(const ReportLine& line, JsonSink& out) {
    static const LabelTexts labels;
    if (hasOwnLabel(line)) {
        out += labels.text[line.entry].view();
    } else {
        appendText(line.label != nullptr ? line.label : "", out);
    }
}

}  // namespace

void appendJsonText(std::string_view bytes, std::string& out) {
    JsonSink sink;
    appendText(bytes, sink);
    out += sink.view();
}

std::string jsonSourceName(std::string_view source, bool* latin1) {
    *latin1 = !isUtf8(source);
    if (!*latin1) {
        return std::string(source);
    }
    std::string name;
    for (const char c : source) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            name += static_cast<char>(0xC0 | (byte >> 6));
            name += static_cast<char>(0x80 | (byte & 0x3F));
        } else {
            name += c;
        }
    }
    return name;
}

bool isUtf8(std::string_view bytes) {
    const auto* text = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (text[i] < 0x80) {
            ++i;
        } else if (const std::size_t length = utf8Length(text + i, bytes.size() - i)) {
            i += length;
        } else {
            return false;
        }
    }
    return true;
}

JsonReportText::JsonReportText(bool pretty, int indent) : pretty_(pretty), indent_(indent) {}

// A colon or a comma within a line: followed by a space in the pretty
// layout.
void JsonReportText::separator(JsonSink& out, char c) const {
    char* to = out.reserve(2);
    to[0] = c;
    to[1] = ' ';
    out.commit(pretty_ ? 2 : 1);
}

void JsonReportText::newLine(JsonSink& out, int depth) const {
    if (pretty_) {
        out += '\n';
        out.append(static_cast<std::size_t>(indent_ + 2 * depth), ' ');
    }
}

void JsonReportText::message(std::string_view text) {
    JsonSink& out = messages_;
    if (messageCount_++ > 0) {
        out += ',';
    }
    newLine(out, 2);
    appendText(text, out);
}

void JsonReportText::block(const ReportBlock& block) {
    JsonSink& out = blocks_;
    if (blockCount_++ > 0) {
        out += ',';
    }
    newLine(out, 2);
    out += '{';
    newLine(out, 3);
    put(out, "\"line\"");
    separator(out, ':');
    appendNumber(block.line, out);
    out += ',';
    newLine(out, 3);
    put(out, "\"tokens\"");
    separator(out, ':');
    out += '[';
    for (std::size_t i = 0; i < block.tokens.size(); ++i) {
        const ReportToken& token = block.tokens[i];
        if (i > 0) {
            out += ',';
        }
        newLine(out, 4);
        put(out, "{\"key\"");
        separator(out, ':');
        appendText(token.key, out);
        separator(out, ',');
        put(out, "\"value\"");
        separator(out, ':');
        if (token.value) {
            appendText(*token.value, out);
        } else {
            put(out, "null");
        }
        if (token.unknown) {
            separator(out, ',');
            put(out, "\"unknown\"");
            separator(out, ':');
            put(out, "true");
        }
        if (token.malformed) {
            separator(out, ',');
            put(out, "\"malformed\"");
            separator(out, ':');
            put(out, "true");
        }
        out += '}';
    }
    if (!block.tokens.empty()) {
        newLine(out, 3);
    }
    put(out, "],");
    newLine(out, 3);
    put(out, "\"unparsed\"");
    separator(out, ':');
    if (block.unparsed) {
        appendText(*block.unparsed, out);
    } else {
        put(out, "null");
    }
    newLine(out, 2);
    out += '}';
}

void JsonReportText::lineObject(const ReportLine& line, JsonSink& out) const {
    out += '{';
    newLine(out, 3);
    put(out, "\"label\"");
    separator(out, ':');
    appendLabel(line, out);
    out += ',';
    newLine(out, 3);
    put(out, "\"values\"");
    separator(out, ':');
    out += '[';
    for (int column = 0; column < line.valueCount; ++column) {
        if (column > 0) {
            separator(out, ',');
        }
        if (line.values[column]) {
            appendText(*line.values[column], out);
        } else {
            put(out, "null");
        }
    }
    put(out, "],");
    newLine(out, 3);
    put(out, "\"raw\"");
    separator(out, ':');
    out += '[';
    for (int column = 0; column < line.valueCount; ++column) {
        if (column > 0) {
            separator(out, ',');
        }
        const std::optional<ReportToken>& token = line.raw[column];
        if (!token) {
            put(out, "null");
            continue;
        }
        put(out, "{\"key\"");
        separator(out, ':');
        appendText(token->key, out);
        separator(out, ',');
        put(out, "\"value\"");
        separator(out, ':');
        appendText(token->value ? std::string_view(*token->value) : std::string_view(), out);
        if (token->malformed) {
            separator(out, ',');
            put(out, "\"malformed\"");
            separator(out, ':');
            put(out, "true");
        }
        out += '}';
    }
    out += ']';
    newLine(out, 2);
    out += '}';
}

void JsonReportText::document(const DecodedReport& report, const JsonContext& context,
                              std::string& text) {
    text += document(report, context);
}

std::string_view JsonReportText::document(const DecodedReport& report, const JsonContext& context) {
    JsonSink& out = document_;
    out.clear();
    // Each field after the first on a line of its own: "name": value.
    const auto field = [&](const char* name) {
        out += '"';
        out += name;
        out += '"';
        separator(out, ':');
    };
    const auto next = [&](const char* name) {
        out += ',';
        newLine(out, 1);
        field(name);
    };
    out += '{';
    newLine(out, 1);
    field("source");
    bool latin1 = false;
    // Escaped as text is, with the UTF-8 sequences left whole.
    out += '"';
    for (const char c : jsonSourceName(context.source, &latin1)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || isPlain(byte)) {
            out += c;
        } else {
            appendEscape(byte, out);
        }
    }
    out += '"';
    if (latin1) {
        next("sourceLatin1");
        put(out, "true");
    }
    next("prefix");
    if (context.hasPrefix) {
        appendText(context.prefix, out);
    } else {
        put(out, "null");
    }
    next("report");
    appendNumber(static_cast<std::size_t>(report.number), out);
    next("line");
    if (report.line > 0) {
        appendNumber(report.line, out);
    } else {
        put(out, "null");
    }
    next("complete");
    out += report.complete() ? "true" : "false";
    next("reason");
    const char* reason = cutReasonName(report.cutReason);  // null for a complete report
    if (reason != nullptr) {
        out += '"';
        out += reason;
        out += '"';
    } else {
        put(out, "null");
    }
    next("messages");
    out += '[';
    out += messages_.view();
    if (messageCount_ > 0) {
        newLine(out, 1);
    }
    out += ']';
    next("lines");
    out += '[';
    for (std::size_t i = 0; i < report.lines.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        newLine(out, 2);
        lineObject(report.lines[i], out);
    }
    if (!report.lines.empty()) {
        newLine(out, 1);
    }
    out += ']';
    next("blocks");
    out += '[';
    out += blocks_.view();
    if (blockCount_ > 0) {
        newLine(out, 1);
    }
    out += ']';
    newLine(out, 0);
    out += '}';
    clear();
    return out.view();
}

void JsonReportText::clear() {
    messages_.clear();
    blocks_.clear();
    messageCount_ = 0;
    blockCount_ = 0;
}
