// Recognising what terminals, loggers and serial lines add to a capture or
// spoil in it: a block marker with one damaged byte or odd spacing, a time
// stamp at a line's start, colour and other escape sequences. The loose
// reading repairs them; the window's reading only notes where they make it
// lose a block.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// When line (after leading blanks) begins with a block marker that differs
// from a real one by one byte (or a letter's case), or by the blanks around
// its "<", and the rest is a well-formed block (key=value tokens and ">"):
// the offset of the tokens. 0 for any other line, a real marker included.
std::size_t damagedMarkerTokens(std::string_view line);

// The length of the time stamp at line's start and the blanks after it, or
// 0: "[2026-12-01 10:00:01.123]" (any bracketed time), ISO 8601
// ("2026-12-01T10:00:01Z", "2026-12-01 10:00:01.123+01:00") and syslog's
// "Dec  1 10:00:01".
std::size_t timeStampLength(std::string_view line);

// The program that made the compressed data bytes begin (count of them),
// when it is one whose data this program does not read: "xz", "bzip2",
// "zstd" or "lz4"; null for any other bytes, gzip data included.
const char* unreadCompression(const char* bytes, std::size_t count);

// Removes the escape sequences (ESC [ ... final byte, and ESC with one
// byte) from text; true when there were any.
bool removeEscapes(std::string& text);
