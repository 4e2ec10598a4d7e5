// The message buffer's block on the C heap. The C heap cannot tell a block's
// size, so each block carries it in a small header in front of the text.

#include <cerrno>
#include <cstddef>
#include <cstdlib>

#include "heap_block.h"

namespace {

struct alignas(std::max_align_t) BlockHeader {
    std::size_t size;
};

BlockHeader* headerOf(const void* block) {
    return const_cast<BlockHeader*>(static_cast<const BlockHeader*>(block) - 1);
}

}  // namespace

void* allocateZeroedBlock(std::size_t size) {
    if (size > static_cast<std::size_t>(-1) - sizeof(BlockHeader)) {
        errno = ENOMEM;
        return nullptr;
    }
    auto* header = static_cast<BlockHeader*>(std::calloc(1, sizeof(BlockHeader) + size));
    if (header == nullptr) {
        errno = ENOMEM;
        return nullptr;
    }
    header->size = size;
    return header + 1;
}

std::size_t blockCapacity(const void* block) {
    return headerOf(block)->size;
}

void* growBlock(void* block, std::size_t size) {
    if (size > static_cast<std::size_t>(-1) - sizeof(BlockHeader)) {
        return nullptr;
    }
    void* grown = std::realloc(headerOf(block), sizeof(BlockHeader) + size);
    if (grown == nullptr) {
        return nullptr;
    }
    auto* header = static_cast<BlockHeader*>(grown);
    header->size = size;
    return header + 1;
}

void releaseBlock(void* block) {
    if (block != nullptr) {
        std::free(headerOf(block));
    }
}
