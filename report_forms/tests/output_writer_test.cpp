#include "output_writer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// What a writer wrote, and where in it each flush came.
class RecordingSink : public OutputSink {
  public:
    void write(std::string_view bytes) override { text.append(bytes.data(), bytes.size()); }
    void flush() override { flushedAt.push_back(text.size()); }

    std::string text;
    std::vector<std::size_t> flushedAt;
};

DecodedReport finished(bool readFailed) {
    DecodedReport report;
    report.number = 1;
    report.readFailed = readFailed;
    ReportLine cause;
    cause.entry = 33;
    cause.values[0] = "Carrier Lost";
    report.lines.push_back(cause);
    return report;
}

struct WriterCase {
    const char* name;
    std::function<std::unique_ptr<OutputWriter>(OutputSink&)> make;
    bool writesAsReportsEnd;  // else all at the end
};

// Every form writes only into its own sink, flushes it as a report ends
// (a live stream shows the report then), and writes nothing of a report a
// read error cut short.
TEST(OutputWriter, EveryFormWritesIntoItsSinkAndFlushesAsAReportEnds) {
    const WriterCase cases[] = {
        {"text", [](OutputSink& sink) { return makeTextWriter(sink, TextSettings()); }, true},
        {"json", [](OutputSink& sink) { return makeJsonWriter(sink, {}, false, true); }, true},
        {"jsonl", [](OutputSink& sink) { return makeJsonLinesWriter(sink, {}); }, true},
        {"csv", [](OutputSink& sink) { return makeCsvWriter(sink, "\n"); }, true},
        {"summary", [](OutputSink& sink) { return makeSummaryWriter(sink, {}, false, false); },
         false},
    };
    for (const WriterCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSink sink;
        const std::unique_ptr<OutputWriter> writer = c.make(sink);
        writer->beginInput("a.log", "a.log");
        const std::size_t before = sink.text.size();
        writer->message("unrecognized key 7f!");
        writer->report(finished(false));
        if (c.writesAsReportsEnd) {
            EXPECT_GT(sink.text.size(), before);
            ASSERT_FALSE(sink.flushedAt.empty());
            EXPECT_EQ(sink.text.size(), sink.flushedAt.back());
        }
        const std::size_t afterFirst = sink.text.size();
        writer->message("lost!");
        writer->report(finished(true));
        EXPECT_EQ(afterFirst, sink.text.size());
        writer->endInput();
        writer->finish();
        if (!c.writesAsReportsEnd) {
            EXPECT_EQ(0u, afterFirst);
            EXPECT_NE(0u, sink.text.size());
        }
        EXPECT_EQ(std::string::npos, sink.text.find("lost!"));
    }
}

// The window's text: every message and line as they come, a report a read
// error cut short included, each line behind the prefix and ended by CR LF.
TEST(OutputWriter, WindowTextShowsWhatCameBeforeAReadError) {
    RecordingSink sink;
    TextSettings settings;
    settings.showsReadFailed = true;
    settings.style.prefix = "> ";
    const std::unique_ptr<OutputWriter> writer = makeTextWriter(sink, settings);
    writer->message("unrecognized key 7f!");
    writer->report(finished(false));
    writer->message("lost!");
    writer->report(finished(true));
    const std::string line = "> " + reportLineText(finished(false).lines[0]) + "\r\n";
    EXPECT_EQ("> unrecognized key 7f!\r\n" + line + "> lost!\r\n" + line, sink.text);
}

}  // namespace
