// The decoding run with its storage made explicit, for tests that need the
// run's storage to run out.
#pragma once

#include <cstdio>
#include <memory_resource>

// decodeReport, with owned texts and the clipboard copy taken from a small
// buffer in the run's frame and then from upstream.
int decodeReportWithStorage(std::FILE* file, std::pmr::memory_resource& upstream);
