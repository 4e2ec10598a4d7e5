// Platform contact: the one heap block that holds the message buffer's text.
//
// On Windows the block comes from the process heap; elsewhere from the C
// heap. Only message_buffer.cpp uses it.
#pragma once

#include <cstddef>

// A block of size zero bytes, or null when the heap has none (the platform's
// error code is then set).
void* allocateZeroedBlock(std::size_t size);

// The block's usable size in bytes.
std::size_t blockCapacity(const void* block);

// Grows the block to size bytes; its contents survive and it may move. Null
// when the heap cannot grow it (the block is then left as it was).
void* growBlock(void* block, std::size_t size);

void releaseBlock(void* block);
