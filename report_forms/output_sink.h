// Where a writer's bytes go (output_writer.h): a sink given to the writer
// when it is made, which it writes every byte into, in order. vexa-decode's
// sink is its buffered standard output, the window's its message buffer;
// the page and the fuzz targets keep the bytes in memory (StringSink).
#pragma once

#include <string>
#include <string_view>

class OutputSink {
  public:
    virtual ~OutputSink() = default;

    virtual void write(std::string_view bytes) = 0;
    // What was written is something a reader may be waiting for (a report's
    // end): a sink that holds bytes back passes them on now if it is live.
    virtual void flush() {}
};

// Keeps what is written.
class StringSink : public OutputSink {
  public:
    void write(std::string_view bytes) override { text.append(bytes.data(), bytes.size()); }

    std::string text;
};
