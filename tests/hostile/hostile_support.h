// Helpers for the hostile-input tests: scratch files written at test time,
// decoding runs over them or over the clipboard, and text comparisons that
// stay readable when the texts are megabytes long.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

// A file in the temporary directory, removed on destruction.
class ScratchFile {
  public:
    ScratchFile();
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& path() const { return path_; }
    // Replaces the contents; appends goes on after them.
    void write(const std::string& bytes);
    void append(const std::string& bytes);

  private:
    std::string path_;
};

// Runs one decoding run over the file, opened as a log is (text mode), and
// returns the window's text of it, each line behind the prefix.
std::string decodeStream(std::FILE* file, const char* prefix = "");
std::string decodeFile(const std::string& path, const char* prefix = "");
std::string decodeBytes(const std::string& bytes, const char* prefix = "");

// Runs one decoding run over the clipboard holding text.
struct ClipboardRun {
    bool unread;  // the clipboard could not be read
    std::string text;
    bool leftOpen;
};
ClipboardRun decodeClipboard(const std::string& text, const char* prefix = "");

// Lines as the window's text holds them, each with prefix and CR LF.
std::string bufferLines(std::initializer_list<std::string> lines, const std::string& prefix = "");

// A report line: the label padded to the report's label width, ": ", value.
std::string reportLine(const std::string& label, const std::string& value);

// Equality that, on failure, names the first differing offset and shows a
// little of both texts there instead of printing megabytes.
::testing::AssertionResult sameText(const std::string& actual, const std::string& expected);

// The bytes of a string literal, NULs included, without its terminator.
template <std::size_t N>
std::string literalBytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

// Hex digits 0-9A-F repeated to the given length; a cut shows where it fell.
std::string hexPattern(std::size_t length);
