// The summary form: every report of every input goes into one fleet
// summary, written when the last input is done.

#include "fleet_summary.h"
#include "output_writer.h"
#include "summary_json.h"
#include "summary_text.h"

namespace {

class SummaryWriter : public OutputWriter {
  public:
    SummaryWriter(OutputSink& sink, const LineStyle& style, bool json, bool bySource)
        : sink_(sink), style_(style), json_(json), bySource_(bySource), summary_(bySource) {}

    void beginInput(const std::string& name, const std::string&) override {
        summary_.beginSource(name);
    }
    void endInput() override { summary_.endSource(); }

    void message(std::string_view) override { summary_.message(); }
    void block(const ReportBlock&) override {}
    bool wantsTokens() const override { return false; }
    void report(const DecodedReport& report) override { summary_.report(report); }

    void finish() override {
        sink_.write(json_ ? summaryDocument(summary_, bySource_).dump(2) + "\n"
                          : summaryText(summary_, bySource_, style_));
    }

  private:
    OutputSink& sink_;
    LineStyle style_;
    bool json_;
    bool bySource_;
    FleetSummary summary_;
};

}  // namespace

std::unique_ptr<OutputWriter> makeSummaryWriter(OutputSink& sink, const LineStyle& style, bool json,
                                                bool bySource) {
    return std::make_unique<SummaryWriter>(sink, style, json, bySource);
}
