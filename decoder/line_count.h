// Counting line feeds fast: a run that numbers its lines passes over every
// byte of a capture that holds no block, and the count is most of what it
// does there.
#pragma once

#include <cstddef>

std::size_t countLineFeeds(const char* begin, const char* end);

// What a search stops at: the byte wanted, unless the byte gap places
// after it is unless.
struct ByteStop {
    char wanted;
    std::size_t gap;
    char unless;
};

// The first stop in [begin, end), or end; adds the line feeds before it to
// lineFeeds. One pass does both: a capture's bytes before its first block
// are searched and counted at once.
const char* findCountingLineFeeds(const char* begin, const char* end, const ByteStop& stop,
                                  std::size_t& lineFeeds);

// The same with memchr and countLineFeeds, which builds without SSE2 use.
const char* findCountingLineFeedsPortably(const char* begin, const char* end, const ByteStop& stop,
                                          std::size_t& lineFeeds);
