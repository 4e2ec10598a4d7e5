// Counting line feeds fast: a run that numbers its lines passes over every
// byte of a capture that holds no block, and the count is most of what it
// does there.
#pragma once

#include <cstddef>

std::size_t countLineFeeds(const char* begin, const char* end);
