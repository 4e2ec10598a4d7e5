// vexa-decode's output: standard output as the writers' sink, and the
// writer of the form the options ask for, made to write into it.
#pragma once

#include <memory>
#include <string>

#include "options.h"
#include "output_writer.h"

// Writes bytes to standard output as they are. A flush reaches the reader
// only while the input is live: a file read whole is written in large
// blocks.
class StandardOutput : public OutputSink {
  public:
    void write(std::string_view bytes) override;
    void flush() override;
    void setLiveInput(bool live) { live_ = live; }
    // Flushes standard output; "" when all was written, or else the reason
    // the first write failed (strerror).
    std::string finish();

  private:
    void noteError();

    bool live_ = true;
    int error_ = 0;  // the reason of the first write that failed; 0 while none has
};

// severalInputs when more than one input is named.
std::unique_ptr<OutputWriter> makeOutputWriter(OutputSink& sink, const ConsoleOptions& options,
                                               bool severalInputs);
