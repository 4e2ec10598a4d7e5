// The JSON form of a decoded report (docs/json-schema.md) written as text
// straight away, piece by piece as a run hands the pieces out: messages
// and blocks as they come, the rest of the document when the report ends.
// No tree is built, and nothing but the report under way is kept.
//
// Report text is 8-bit with no code page of its own, while JSON text is
// Unicode: every byte of a report becomes the character of the same number
// (ISO 8859-1), so each can be had back exactly. A source name is a file
// name: one that is UTF-8 stays as it is; one that is not is written by
// the rule of the rest of the text, and "sourceLatin1": true follows it,
// so its bytes can be had back too.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "report_values.h"

// A growing byte buffer that is never filled in advance: the many small
// pieces of a document cost a copy each and no call.
class JsonSink {
  public:
    void append(const char* bytes, std::size_t count) {
        if (count == 0) {
            return;  // bytes may be null then, which memcpy may not get
        }
        std::memcpy(room(count), bytes, count);
        size_ += count;
    }
    void append(std::string_view bytes) { append(bytes.data(), bytes.size()); }
    void append(std::size_t count, char c) {
        std::memset(room(count), c, count);
        size_ += count;
    }
    void operator+=(char c) {
        *room(1) = c;
        ++size_;
    }
    void operator+=(std::string_view bytes) { append(bytes); }

    // Room for count bytes at the end, to be stored through the pointer;
    // commit then says how many were.
    char* reserve(std::size_t count) { return room(count); }
    void commit(std::size_t count) { size_ += count; }

    std::string_view view() const { return std::string_view(data_.get(), size_); }
    void clear() { size_ = 0; }

  private:
    char* room(std::size_t count) {
        if (size_ + count > capacity_) {
            grow(count);
        }
        return data_.get() + size_;
    }
    void grow(std::size_t count);

    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

struct JsonContext {
    std::string source;  // the file name, "-" for standard input, or "clipboard"
    bool hasPrefix = false;
    std::string prefix;  // without the space the text output adds
};

class JsonReportText {
  public:
    // pretty: --json's layout, each line of the document indented by
    // indent more spaces (a document in an array by 2); else one compact
    // line, as --jsonl writes it.
    explicit JsonReportText(bool pretty, int indent = 0);

    // What a run hands out before the report it belongs to.
    void message(std::string_view text);
    void block(const ReportBlock& block);
    // Appends the report's whole document, with the messages and blocks
    // given since the last one, to out (without a line end), and forgets
    // them.
    void document(const DecodedReport& report, const JsonContext& context, std::string& out);
    // The same document, held by this object until the next call.
    std::string_view document(const DecodedReport& report, const JsonContext& context);
    // Forgets the messages and blocks given, for a report written in no form.
    void clear();

  private:
    class Writer;

    std::size_t lineRoom(const ReportLine& line) const;
    void lineObject(const ReportLine& line, Writer& out) const;
    void noteSource(const std::string& source);

    bool pretty_;
    int indent_;
    std::size_t newLineRoom_;  // the most a line end and its indent take
    JsonSink messages_;
    std::size_t messageCount_ = 0;
    JsonSink blocks_;
    std::size_t blockCount_ = 0;
    JsonSink document_;
    // The last source's JSON string, and whether it is written as ISO 8859-1.
    bool sourceKnown_ = false;
    std::string source_;
    std::string sourceText_;
    bool sourceLatin1_ = false;
};

// Appends bytes as a JSON string, each byte as the character of its number.
void appendJsonText(std::string_view bytes, std::string& out);
// True when bytes are UTF-8 (no overlong forms, no surrogates).
bool isUtf8(std::string_view bytes);
// A source name as every JSON form writes it (unescaped): UTF-8 as it is;
// any other name byte by byte as ISO 8859-1, and then *latin1 is set, for
// a "sourceLatin1": true beside it.
std::string jsonSourceName(std::string_view source, bool* latin1);
