// Helpers shared by the decoder tests: files holding exact bytes, decoding
// runs over them and the window's text of what they hand out, and a
// clipboard the tests can fill on every platform.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>

#include "decoding_run.h"
#include "recording_writer.h"
#include "test_clipboard.h"

// A temporary file holding exactly the given bytes, removed on destruction.
class TempFile {
  public:
    explicit TempFile(const std::string& bytes);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return path_; }
    // Opens the file as a log is opened: for reading, in text mode.
    std::FILE* openText() const;

  private:
    std::string path_;
};

// A stream on a character device (a pseudo terminal, or NUL on Windows),
// or null when it cannot be opened. Close it with fclose.
std::FILE* openCharacterDevice();

#ifndef _WIN32
// A pseudo terminal whose terminal side already holds text as its input.
// Close it with fclose.
std::FILE* openCharacterDeviceHolding(const std::string& text);
#endif

// The window's text of a run over a log file holding bytes, with the
// window's settings and the line prefix given.
std::string decodeLog(const std::string& bytes, const char* prefix = "");

// The window's text of a run over file (null: the clipboard).
std::string decodeText(std::FILE* file, RunOutcome* outcome = nullptr);

// Joins lines, each ended by CR LF, as the window's text holds them.
std::string crlfLines(std::initializer_list<const char*> lines);
