// A capture's bytes as a file of the module's in-memory file system, so the
// decoder reads them exactly as it reads the same bytes on disk.
#pragma once

#include <cstddef>
#include <cstdio>

// The bytes stored and opened as a log is opened; null when they cannot be
// stored or opened (out of memory). Close with closeCapture, which also
// drops the file.
std::FILE* openCapture(const char* bytes, std::size_t length);
void closeCapture(std::FILE* file);
