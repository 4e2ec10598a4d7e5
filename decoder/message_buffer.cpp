// The message buffer and the line prefix.
//
// The text's length is kept rather than measured on every append, and the
// block grows at least to twice its size, so a run that appends a million
// lines stays linear. The text itself is the same as with exact-size growth.

#include "message_buffer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "heap_block.h"

namespace {

constexpr std::size_t InitialCapacity = 2048;

struct MessageBuffer {
    char* block = nullptr;
    std::size_t length = 0;
    std::size_t capacity = 0;
    std::string linePrefix;
    void (*outOfMemoryHandler)() = nullptr;
    std::string lineEnd = "\r\n";
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
    void* block = growBlock(buffer.block, grown);
    if (block == nullptr) {
        stopOutOfMemory();
    }
    buffer.block = static_cast<char*>(block);
    buffer.capacity = blockCapacity(block);
}

void appendBytes(const char* bytes, std::size_t count) {
    std::memcpy(buffer.block + buffer.length, bytes, count);
    buffer.length += count;
}

}  // namespace

bool createMessageBuffer() {
    if (buffer.block != nullptr) {
        emptyMessageBuffer();
        return true;
    }
    void* block = allocateZeroedBlock(InitialCapacity);
    if (block == nullptr) {
        return false;
    }
    buffer.block = static_cast<char*>(block);
    buffer.length = 0;
    buffer.capacity = blockCapacity(block);
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
    releaseBlock(buffer.block);
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

void appendLine(const char* text) {
    if (buffer.block == nullptr && !createMessageBuffer()) {
        stopOutOfMemory();
    }
    const std::size_t textLength = std::strlen(text);
    const std::size_t prefixLength = buffer.linePrefix.size();
    const std::size_t endLength = buffer.lineEnd.size();
    const std::size_t limit = static_cast<std::size_t>(-1) - endLength - 1;
    if (textLength > limit - prefixLength || buffer.length > limit - prefixLength - textLength) {
        stopOutOfMemory();
    }
    ensureCapacity(buffer.length + prefixLength + textLength + endLength + 1);
    appendBytes(buffer.linePrefix.data(), prefixLength);
    appendBytes(text, textLength);
    appendBytes(buffer.lineEnd.data(), endLength);
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

void setLinePrefix(const char* prefix) {
    buffer.linePrefix = prefix;
}

const char* linePrefix() {
    return buffer.linePrefix.c_str();
}

void setLineEnd(const char* end) {
    buffer.lineEnd = end;
}

const char* lineEnd() {
    return buffer.lineEnd.c_str();
}
