// vexa-decode's streams, where Windows and the other platforms differ:
// opening a log, reading a live stream as it comes, and standard output.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "byte_source.h"

// Opens a log as the window program does: for reading in text mode, others
// allowed to read the file but not to write it meanwhile (where the platform
// can say so). A device opens without waiting for a modem's carrier, a
// serial port on Windows ("COM3", "\\.\COM3") for this program alone. Null,
// with the reason in *failure, when it cannot be opened.
std::FILE* openLog(const std::string& path, std::string* failure);

// A stream the console hands a decoding run, which can say why it failed.
class InputStream : public ByteSource {
  public:
    // Why reading failed, once readSome returned -1; empty before.
    const std::string& failure() const { return failure_; }

  protected:
    std::string failure_;
};

// Reads file, when it is no regular file (a pipe, a terminal, a device), in
// blocks as large as what has arrived, bypassing the stream's own buffer,
// which must not have been read from. A terminal that hangs up, a pipe whose
// writer is gone, end the input. Null for a regular file, which the decoder
// reads in blocks of its own.
std::unique_ptr<InputStream> liveStreamFor(std::FILE* file);

// Makes standard output write bytes exactly as given: report lines already
// end in CR LF, and a text-mode stream would double the CR.
void writeStandardOutputAsIs();

// A file name as given on the command line, in UTF-8 where the system's
// names are in another code page (Windows' ANSI code page); elsewhere the
// name's bytes as they are.
std::string fileNameInUtf8(const std::string& name);

// Where standard output (standard error with error) is a Windows console,
// writes text there as characters and returns true: a console shows bytes in
// its own code page, which is not ours (UTF-8 from Windows 10 1903). False
// everywhere else, where the caller writes the bytes as they are.
bool writeToConsole(std::string_view text, bool error);
