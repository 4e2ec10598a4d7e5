// Fuzzes vexa-decode's writers of JSON, JSON Lines and CSV over what a
// loose reading of the input hands out. Byte 0 picks the input's name
// (plain, UTF-8, not UTF-8, one full of quotes and line ends) and, in bit
// 2, a source that fails at its end instead of ending. Checks: every JSON
// document parses, the array holds the same documents as the lines, the
// name comes back from "source"; every CSV row has the header's width; and
// a report that reading failed under is written in no form.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "decoding_run.h"
#include "output_checks.h"
#include "output_writer.h"

namespace {

StringSink written;

const char* const Names[] = {"a.log", "caf\xC3\xA9.log", "caf\xE9.log", "q\"\\,\r\n\x01.log"};

// Passes everything on, counting the reports that were decoded.
class CountingWriter : public ReportWriter {
  public:
    explicit CountingWriter(OutputWriter& writer) : writer_(writer) {}
    void message(std::string_view text) override { writer_.message(text); }
    void block(const ReportBlock& block) override { writer_.block(block); }
    void report(const DecodedReport& report) override {
        decoded += report.readFailed ? 0 : 1;
        writer_.report(report);
    }
    std::size_t decoded = 0;

  private:
    OutputWriter& writer_;
};

std::size_t run(OutputWriter& writer, const std::uint8_t* data, std::size_t size, bool fails,
                const char* name) {
    PieceSource source(data, size, 300, false, fails);
    RunSettings settings;
    settings.looseReading = true;
    settings.scope = ReportScope::Every;
    settings.reportItemLimit = ReportItemLimit;
    CountingWriter counting(writer);
    writer.beginInput(name, name);
    decodeReports(source, settings, counting);
    writer.endInput();
    writer.finish();
    return counting.decoded;
}

std::string latin1(const std::string& utf8) {
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) {
            bytes += utf8[i];
        } else {
            require(i + 1 < utf8.size(), "a two-byte sequence");
            bytes += static_cast<char>(((byte & 0x03) << 6) | (utf8[++i] & 0x3F));
        }
    }
    return bytes;
}

// The fields of each CSV record, quotes respected.
std::vector<std::size_t> csvWidths(const std::string& text) {
    std::vector<std::size_t> widths;
    std::size_t fields = 1;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == ',') {
            ++fields;
        } else if (!quoted && c == '\r') {
            require(i + 1 < text.size() && text[i + 1] == '\n', "a row ends in CR LF");
            widths.push_back(fields);
            fields = 1;
            ++i;
        }
    }
    require(!quoted && fields == 1, "the last row is whole");
    return widths;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const char* name = Names[data[0] & 3];
    const bool fails = (data[0] & 4) != 0;
    ++data;
    --size;

    JsonContext context;
    // Each writer's output from its making on: the CSV header comes then.
    written.text.clear();
    const std::unique_ptr<OutputWriter> lines = makeJsonLinesWriter(written, context);
    const std::size_t decoded = run(*lines, data, size, fails, name);
    std::vector<nlohmann::json> documents;
    for (std::size_t at = 0; at < written.text.size();) {
        const std::size_t end = written.text.find('\n', at);
        require(end != std::string::npos, "every document ends its line");
        documents.push_back(nlohmann::json::parse(written.text.substr(at, end - at)));
        const std::string source = documents.back().at("source");
        const bool flagged = documents.back().contains("sourceLatin1");
        require((flagged ? latin1(source) : source) == name, "the name comes back");
        at = end + 1;
    }
    require(documents.size() == decoded, "one document a decoded report");

    written.text.clear();
    const std::unique_ptr<OutputWriter> array = makeJsonWriter(written, context, false, true);
    run(*array, data, size, fails, name);
    require(nlohmann::json::parse(written.text) == nlohmann::json(documents),
            "the array holds the lines' documents");

    written.text.clear();
    const std::unique_ptr<OutputWriter> csv = makeCsvWriter(written, "\r\n", true);
    run(*csv, data, size, fails, name);
    const std::vector<std::size_t> widths = csvWidths(written.text);
    require(widths.size() == decoded + 1, "a header and one row a decoded report");
    for (const std::size_t width : widths) {
        require(width == widths[0], "every row as wide as the header");
    }
    return 0;
}
