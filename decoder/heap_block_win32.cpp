// The message buffer's block on the Windows process heap. A failed growth
// returns null, so the message buffer ends the program its own way, after
// the front end's last words (message_buffer.h), not by an exception that
// nothing handles.

#include <windows.h>

#include "heap_block.h"

void* allocateZeroedBlock(std::size_t size) {
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
}

std::size_t blockCapacity(const void* block) {
    return HeapSize(GetProcessHeap(), 0, block);
}

void* growBlock(void* block, std::size_t size) {
    return HeapReAlloc(GetProcessHeap(), 0, block, size);
}

void releaseBlock(void* block) {
    HeapFree(GetProcessHeap(), 0, block);
}
