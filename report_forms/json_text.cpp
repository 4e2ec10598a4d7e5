// Writing the JSON document of a report as text. Strings are escaped in
// one pass that copies runs of plain characters whole.

#include "json_text.h"

#include <cstring>

#include "cut_reasons.h"

namespace {

const char Hex[] = "0123456789abcdef";

void appendEscape(unsigned code, std::string& out) {
    switch (code) {
        case '"':
            out += "\\\"";
            return;
        case '\\':
            out += "\\\\";
            return;
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            break;
    }
    const char escape[] = {
        '\\',          'u', Hex[(code >> 12) & 15], Hex[(code >> 8) & 15], Hex[(code >> 4) & 15],
        Hex[code & 15]};
    out.append(escape, sizeof escape);
}

bool isPlain(unsigned char byte) {
    return byte >= 0x20 && byte < 0x80 && byte != '"' && byte != '\\';
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

void appendNumber(std::size_t n, std::string& out) {
    char digits[24];
    std::size_t at = sizeof digits;
    do {
        digits[--at] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    out.append(digits + at, sizeof digits - at);
}

}  // namespace

void appendJsonText(std::string_view bytes, std::string& out) {
    out += '"';
    const auto* text = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    while (i < size) {
        std::size_t run = i;
        while (run < size && isPlain(text[run])) {
            ++run;
        }
        out.append(bytes.data() + i, run - i);
        if (run == size) {
            break;
        }
        const unsigned char byte = text[run];
        if (byte >= 0x80) {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        } else {
            appendEscape(byte, out);
        }
        i = run + 1;
    }
    out += '"';
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

JsonReportText::JsonReportText(bool pretty, int indent)
    : pretty_(pretty), indent_(indent), comma_(pretty ? ", " : ","), colon_(pretty ? ": " : ":") {}

void JsonReportText::newLine(std::string& out, int depth) const {
    if (pretty_) {
        out += '\n';
        out.append(static_cast<std::size_t>(indent_ + 2 * depth), ' ');
    }
}

void JsonReportText::message(std::string_view text) {
    if (messageCount_++ > 0) {
        messages_ += ',';
    }
    newLine(messages_, 2);
    appendJsonText(text, messages_);
}

void JsonReportText::block(const ReportBlock& block) {
    std::string& out = blocks_;
    if (blockCount_++ > 0) {
        out += ',';
    }
    newLine(out, 2);
    out += '{';
    newLine(out, 3);
    out += "\"line\"";
    out += colon_;
    appendNumber(block.line, out);
    out += ',';
    newLine(out, 3);
    out += "\"tokens\"";
    out += colon_;
    out += '[';
    for (std::size_t i = 0; i < block.tokens.size(); ++i) {
        const ReportToken& token = block.tokens[i];
        if (i > 0) {
            out += ',';
        }
        newLine(out, 4);
        out += "{\"key\"";
        out += colon_;
        appendJsonText(token.key, out);
        out += comma_;
        out += "\"value\"";
        out += colon_;
        if (token.value) {
            appendJsonText(*token.value, out);
        } else {
            out += "null";
        }
        if (token.unknown) {
            out += comma_;
            out += "\"unknown\"";
            out += colon_;
            out += "true";
        }
        if (token.malformed) {
            out += comma_;
            out += "\"malformed\"";
            out += colon_;
            out += "true";
        }
        out += '}';
    }
    if (!block.tokens.empty()) {
        newLine(out, 3);
    }
    out += "],";
    newLine(out, 3);
    out += "\"unparsed\"";
    out += colon_;
    if (block.unparsed) {
        appendJsonText(*block.unparsed, out);
    } else {
        out += "null";
    }
    newLine(out, 2);
    out += '}';
}

void JsonReportText::lineObject(const ReportLine& line, std::string& out) const {
    out += '{';
    newLine(out, 3);
    out += "\"label\"";
    out += colon_;
    appendJsonText(line.label != nullptr ? line.label : "", out);
    out += ',';
    newLine(out, 3);
    out += "\"values\"";
    out += colon_;
    out += '[';
    for (int column = 0; column < line.valueCount; ++column) {
        if (column > 0) {
            out += comma_;
        }
        if (line.values[column]) {
            appendJsonText(*line.values[column], out);
        } else {
            out += "null";
        }
    }
    out += "],";
    newLine(out, 3);
    out += "\"raw\"";
    out += colon_;
    out += '[';
    for (int column = 0; column < line.valueCount; ++column) {
        if (column > 0) {
            out += comma_;
        }
        const std::optional<ReportToken>& token = line.raw[column];
        if (!token) {
            out += "null";
            continue;
        }
        out += "{\"key\"";
        out += colon_;
        appendJsonText(token->key, out);
        out += comma_;
        out += "\"value\"";
        out += colon_;
        appendJsonText(token->value ? std::string_view(*token->value) : std::string_view(), out);
        if (token->malformed) {
            out += comma_;
            out += "\"malformed\"";
            out += colon_;
            out += "true";
        }
        out += '}';
    }
    out += ']';
    newLine(out, 2);
    out += '}';
}

void JsonReportText::document(const DecodedReport& report, const JsonContext& context,
                              std::string& out) {
    // Each field after the first on a line of its own: "name": value.
    const auto field = [&](const char* name) {
        out += '"';
        out += name;
        out += '"';
        out += colon_;
    };
    const auto next = [&](const char* name) {
        out += ',';
        newLine(out, 1);
        field(name);
    };
    out += '{';
    newLine(out, 1);
    field("source");
    if (isUtf8(context.source)) {
        // Escaped as text is, with the UTF-8 sequences left whole.
        out += '"';
        for (const char c : context.source) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte >= 0x80 || isPlain(byte)) {
                out += c;
            } else {
                appendEscape(byte, out);
            }
        }
        out += '"';
    } else {
        appendJsonText(context.source, out);
        next("sourceLatin1");
        out += "true";
    }
    next("prefix");
    if (context.hasPrefix) {
        appendJsonText(context.prefix, out);
    } else {
        out += "null";
    }
    next("report");
    appendNumber(static_cast<std::size_t>(report.number), out);
    next("line");
    if (report.line > 0) {
        appendNumber(report.line, out);
    } else {
        out += "null";
    }
    next("complete");
    out += report.complete ? "true" : "false";
    next("reason");
    const char* reason = report.complete ? nullptr : cutReasonName(report.cutReason);
    if (reason == nullptr && !report.complete) {
        reason = cutReasonName(CutReason::InputEnded);
    }
    if (reason != nullptr) {
        out += '"';
        out += reason;
        out += '"';
    } else {
        out += "null";
    }
    next("messages");
    out += '[';
    out += messages_;
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
    out += blocks_;
    if (blockCount_ > 0) {
        newLine(out, 1);
    }
    out += ']';
    newLine(out, 0);
    out += '}';
    clear();
}

void JsonReportText::clear() {
    messages_.clear();
    blocks_.clear();
    messageCount_ = 0;
    blockCount_ = 0;
}
