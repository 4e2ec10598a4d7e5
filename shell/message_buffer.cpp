// The message buffer on the process heap.
//
// The text's length is kept rather than measured on every append, and the
// block grows at least to twice its size, so a run that appends a million
// lines stays linear. The text itself is the same as with exact-size growth.
// A failed growth returns null rather than raising an exception that
// nothing handles, so the program ends its own way, after its last words.

#include "message_buffer.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t InitialCapacity = 2048;

struct MessageBuffer {
    char* block = nullptr;
    std::size_t length = 0;
    std::size_t capacity = 0;
    void (*outOfMemoryHandler)() = nullptr;
};

MessageBuffer buffer;

void ensureCapacity(std::size_t needed) {
    if (needed <= buffer.capacity) {
        return;
    }
    std::size_t grown = needed;
    if (buffer.capacity <= static_cast<std::size_t>(-1) / 2 && buffer.capacity * 2 > grown) {
        grown = buffer.capacity * 2;
    }
    void* block = HeapReAlloc(GetProcessHeap(), 0, buffer.block, grown);
    if (block == nullptr) {
        stopOutOfMemory();
    }
    buffer.block = static_cast<char*>(block);
    buffer.capacity = HeapSize(GetProcessHeap(), 0, block);
}

}  // namespace

bool createMessageBuffer() {
    if (buffer.block != nullptr) {
        emptyMessageBuffer();
        return true;
    }
    void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, InitialCapacity);
    if (block == nullptr) {
        return false;
    }
    buffer.block = static_cast<char*>(block);
    buffer.length = 0;
    buffer.capacity = HeapSize(GetProcessHeap(), 0, block);
    return true;
}

// Reached with a text no size_t can count, or a heap that has no more.
void stopOutOfMemory() {
    if (buffer.outOfMemoryHandler != nullptr) {
        buffer.outOfMemoryHandler();
    }
    std::fputs("out of memory for the report text\n", stderr);
    std::abort();
}

void setOutOfMemoryHandler(void (*handler)()) {
    buffer.outOfMemoryHandler = handler;
}

void releaseMessageBuffer() {
    if (buffer.block != nullptr) {
        HeapFree(GetProcessHeap(), 0, buffer.block);
    }
    buffer.block = nullptr;
    buffer.length = 0;
    buffer.capacity = 0;
}

void emptyMessageBuffer() {
    if (buffer.block != nullptr) {
        buffer.block[0] = '\0';
    }
    buffer.length = 0;
}

void appendText(std::string_view bytes) {
    if (buffer.block == nullptr && !createMessageBuffer()) {
        stopOutOfMemory();
    }
    if (buffer.length > static_cast<std::size_t>(-1) - 1 - bytes.size()) {
        stopOutOfMemory();
    }
    ensureCapacity(buffer.length + bytes.size() + 1);
    if (!bytes.empty()) {  // an empty view's data may be null, which memcpy may not get
        std::memcpy(buffer.block + buffer.length, bytes.data(), bytes.size());
        buffer.length += bytes.size();
    }
    buffer.block[buffer.length] = '\0';
}

const char* messageBufferText() {
    return buffer.block != nullptr ? buffer.block : "";
}

std::size_t messageBufferLength() {
    return buffer.length;
}

std::size_t messageBufferCapacity() {
    return buffer.capacity;
}
