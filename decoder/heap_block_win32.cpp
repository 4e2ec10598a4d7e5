// The message buffer's block on the Windows process heap. Growth asks the
// heap to raise an exception rather than return null: nothing could show a
// report the program cannot hold.

#include <windows.h>

#include "heap_block.h"

void* allocateZeroedBlock(std::size_t size) {
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
}

std::size_t blockCapacity(const void* block) {
    return HeapSize(GetProcessHeap(), 0, block);
}

void* growBlock(void* block, std::size_t size) {
    return HeapReAlloc(GetProcessHeap(), HEAP_GENERATE_EXCEPTIONS, block, size);
}

void releaseBlock(void* block) {
    HeapFree(GetProcessHeap(), 0, block);
}
