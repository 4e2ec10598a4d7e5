// Writing the JSON document of a report as text. Strings are escaped in
// one pass that copies runs of plain characters whole.

#include "json_text.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <utility>

#include "byte_writing.h"
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

// Inline: it runs a few hundred times a report, mostly on a few bytes.
// Stores each byte's form straight away; at most 6 bytes a byte.
inline char* writeText(std::string_view bytes, char* to) {
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
    return to;
}

std::size_t textRoom(std::string_view bytes) {
    return 6 * bytes.size() + 2;
}

void appendText(std::string_view bytes, JsonSink& out) {
    char* to = out.reserve(textRoom(bytes));
    out.commit(static_cast<std::size_t>(writeText(bytes, to) - to));
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

// Made at start-up: a run asks for a label a line.
const LabelTexts labels;

const LabelTexts& labelTexts() {
    return labels;
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

// Stores a document's pieces in room reserved beforehand (JsonSink::reserve)
// for the most they can take: no piece asks for room of its own.
class JsonReportText::Writer {
  public:
    Writer(char* at, bool pretty, int indent)
        : at_(at), begin_(at), pretty_(pretty), indent_(indent) {}

    template <std::size_t N>
    void put(const char (&text)[N]) {
        std::memcpy(at_, text, N - 1);
        at_ += N - 1;
    }
    void put(std::string_view bytes) { at_ = putBytes(at_, bytes); }
    void put(char c) { *at_++ = c; }
    // As a JSON string: at most 6 bytes a byte and the quotes.
    void text(std::string_view bytes) { at_ = writeText(bytes, at_); }
    void number(std::size_t n) { at_ = putDigits(at_, n); }
    // A colon or a comma within a line: followed by a space in the pretty
    // layout.
    void separator(char c) {
        at_[0] = c;
        at_[1] = ' ';
        at_ += pretty_ ? 2 : 1;
    }
    // At most 1 + indent + 8 bytes: depth is 4 at most.
    void newLine(int depth) {
        if (pretty_) {
            *at_++ = '\n';
            const auto spaces = static_cast<std::size_t>(indent_ + 2 * depth);
            std::memset(at_, ' ', spaces);
            at_ += spaces;
        }
    }
    std::size_t written() const { return static_cast<std::size_t>(at_ - begin_); }

  private:
    char* at_;
    char* const begin_;
    bool pretty_;
    int indent_;
};

JsonReportText::JsonReportText(bool pretty, int indent)
    : pretty_(pretty), indent_(indent), newLineRoom_(1 + static_cast<std::size_t>(indent) + 8) {}

void JsonReportText::message(std::string_view text) {
    const std::size_t room = 1 + newLineRoom_ + textRoom(text);
    Writer out(messages_.reserve(room), pretty_, indent_);
    if (messageCount_++ > 0) {
        out.put(',');
    }
    out.newLine(2);
    out.text(text);
    assert(out.written() <= room);
    messages_.commit(out.written());
}

void JsonReportText::block(const ReportBlock& block) {
    // The block's own names, braces, separators and line number take under
    // 64 bytes and six line ends; a token's, "unknown" and "malformed"
    // both written, under 64 and one line end.
    std::size_t room = 64 + 6 * newLineRoom_;
    for (const ReportToken& token : block.tokens) {
        room +=
            64 + newLineRoom_ + textRoom(token.key) + (token.value ? textRoom(*token.value) : 4);
    }
    room += block.unparsed ? textRoom(*block.unparsed) : 4;
    Writer out(blocks_.reserve(room), pretty_, indent_);
    if (blockCount_++ > 0) {
        out.put(',');
    }
    out.newLine(2);
    out.put('{');
    out.newLine(3);
    out.put("\"line\"");
    out.separator(':');
    out.number(block.line);
    out.put(',');
    out.newLine(3);
    out.put("\"tokens\"");
    out.separator(':');
    out.put('[');
    for (std::size_t i = 0; i < block.tokens.size(); ++i) {
        const ReportToken& token = block.tokens[i];
        if (i > 0) {
            out.put(',');
        }
        out.newLine(4);
        out.put("{\"key\"");
        out.separator(':');
        out.text(token.key);
        out.separator(',');
        out.put("\"value\"");
        out.separator(':');
        if (token.value) {
            out.text(*token.value);
        } else {
            out.put("null");
        }
        if (token.unknown) {
            out.separator(',');
            out.put("\"unknown\"");
            out.separator(':');
            out.put("true");
        }
        if (token.malformed) {
            out.separator(',');
            out.put("\"malformed\"");
            out.separator(':');
            out.put("true");
        }
        out.put('}');
    }
    if (!block.tokens.empty()) {
        out.newLine(3);
    }
    out.put("],");
    out.newLine(3);
    out.put("\"unparsed\"");
    out.separator(':');
    if (block.unparsed) {
        out.text(*block.unparsed);
    } else {
        out.put("null");
    }
    out.newLine(2);
    out.put('}');
    assert(out.written() <= room);
    blocks_.commit(out.written());
}

// The most a line's object takes: its names, braces and separators take
// under 64 bytes and five line ends, a raw token's under 48.
std::size_t JsonReportText::lineRoom(const ReportLine& line) const {
    std::size_t room = 64 + 5 * newLineRoom_;
    if (hasOwnLabel(line)) {
        room += labelTexts().text[line.entry].view().size();
    } else {
        room += textRoom(line.label != nullptr ? line.label : "");
    }
    for (int column = 0; column < line.valueCount; ++column) {
        room += 2 + (line.values[column] ? textRoom(*line.values[column]) : 4);
        const std::optional<ReportToken>& token = line.raw[column];
        room +=
            2 +
            (token ? 48 + textRoom(token->key) + (token->value ? textRoom(*token->value) : 2) : 4);
    }
    return room;
}

void JsonReportText::lineObject(const ReportLine& line, Writer& out) const {
    out.put('{');
    out.newLine(3);
    out.put("\"label\"");
    out.separator(':');
    if (hasOwnLabel(line)) {
        out.put(labelTexts().text[line.entry].view());
    } else {
        out.text(line.label != nullptr ? line.label : "");
    }
    out.put(',');
    out.newLine(3);
    out.put("\"values\"");
    out.separator(':');
    out.put('[');
    for (int column = 0; column < line.valueCount; ++column) {
        if (column > 0) {
            out.separator(',');
        }
        if (line.values[column]) {
            out.text(*line.values[column]);
        } else {
            out.put("null");
        }
    }
    out.put("],");
    out.newLine(3);
    out.put("\"raw\"");
    out.separator(':');
    out.put('[');
    for (int column = 0; column < line.valueCount; ++column) {
        if (column > 0) {
            out.separator(',');
        }
        const std::optional<ReportToken>& token = line.raw[column];
        if (!token) {
            out.put("null");
            continue;
        }
        out.put("{\"key\"");
        out.separator(':');
        out.text(token->key);
        out.separator(',');
        out.put("\"value\"");
        out.separator(':');
        out.text(token->value ? std::string_view(*token->value) : std::string_view());
        if (token->malformed) {
            out.separator(',');
            out.put("\"malformed\"");
            out.separator(':');
            out.put("true");
        }
        out.put('}');
    }
    out.put(']');
    out.newLine(2);
    out.put('}');
}

void JsonReportText::document(const DecodedReport& report, const JsonContext& context,
                              std::string& text) {
    text += document(report, context);
}

// The source's JSON string, escaped as text is with its UTF-8 sequences
// left whole: made again only when the source changes.
void JsonReportText::noteSource(const std::string& source) {
    if (sourceKnown_ && source == source_) {
        return;
    }
    source_ = source;
    sourceKnown_ = true;
    const std::string name = jsonSourceName(source, &sourceLatin1_);
    sourceText_.assign(1, '"');
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || isPlain(byte)) {
            sourceText_ += c;
        } else {
            char escape[6];
            sourceText_.append(escape,
                               static_cast<std::size_t>(writeEscape(byte, escape) - escape));
        }
    }
    sourceText_ += '"';
}

std::string_view JsonReportText::document(const DecodedReport& report, const JsonContext& context) {
    noteSource(context.source);
    const char* reason = cutReasonName(report.cutReason);  // null for a complete report
    // Field names, numbers, braces and separators take under 256 bytes.
    std::size_t room = 256 + 16 * newLineRoom_ + sourceText_.size() + messages_.view().size() +
                       blocks_.view().size() + (context.hasPrefix ? textRoom(context.prefix) : 4) +
                       (reason != nullptr ? std::strlen(reason) + 2 : 4);
    for (const ReportLine& line : report.lines) {
        room += 1 + newLineRoom_ + lineRoom(line);
    }
    document_.clear();
    Writer out(document_.reserve(room), pretty_, indent_);
    // Each field after the first on a line of its own: "name": value.
    const auto field = [&](std::string_view name) {
        out.put('"');
        out.put(name);
        out.put('"');
        out.separator(':');
    };
    const auto next = [&](std::string_view name) {
        out.put(',');
        out.newLine(1);
        field(name);
    };
    out.put('{');
    out.newLine(1);
    field("source");
    out.put(sourceText_);
    if (sourceLatin1_) {
        next("sourceLatin1");
        out.put("true");
    }
    next("prefix");
    if (context.hasPrefix) {
        out.text(context.prefix);
    } else {
        out.put("null");
    }
    next("report");
    out.number(static_cast<std::size_t>(report.number));
    next("line");
    if (report.line > 0) {
        out.number(report.line);
    } else {
        out.put("null");
    }
    next("complete");
    if (report.complete()) {
        out.put("true");
    } else {
        out.put("false");
    }
    next("reason");
    if (reason != nullptr) {
        out.put('"');
        out.put(reason);
        out.put('"');
    } else {
        out.put("null");
    }
    next("messages");
    out.put('[');
    out.put(messages_.view());
    if (messageCount_ > 0) {
        out.newLine(1);
    }
    out.put(']');
    next("lines");
    out.put('[');
    for (std::size_t i = 0; i < report.lines.size(); ++i) {
        if (i > 0) {
            out.put(',');
        }
        out.newLine(2);
        lineObject(report.lines[i], out);
    }
    if (!report.lines.empty()) {
        out.newLine(1);
    }
    out.put(']');
    next("blocks");
    out.put('[');
    out.put(blocks_.view());
    if (blockCount_ > 0) {
        out.newLine(1);
    }
    out.put(']');
    out.newLine(0);
    out.put('}');
    assert(out.written() <= room);
    document_.commit(out.written());
    clear();
    return document_.view();
}

void JsonReportText::clear() {
    messages_.clear();
    blocks_.clear();
    messageCount_ = 0;
    blockCount_ = 0;
}
