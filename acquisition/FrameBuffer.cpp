#include "FrameBuffer.h"

#include <cstdlib>
#include <cstring>

namespace {

// A command holds at most a frame buffer or a staging buffer at a time; a
// few entries let live capture and readout keep one block each.
constexpr int kRecycledBlocks = 4;

// Below this a fresh block costs less than a kept one would hold back.
constexpr size_t kSmallestRecycledBlock = 64 * 1024;
// Above this a kept block would hold back more memory than a session should
// lose between commands; such a request costs its page faults either way.
constexpr size_t kLargestRecycledBlock = size_t(256) << 20;

struct RecycledBlock {
    void* block = nullptr;
    size_t capacity = 0;
    bool taken = false;
};

RecycledBlock recycled[kRecycledBlocks];

// The smallest kept block that holds the request; otherwise the free entry
// of least capacity is regrown (an empty one has none), so that the block
// kept for the largest frames stays.
void* recyclingAllocate(size_t bytes) {
    if (bytes < kSmallestRecycledBlock || bytes > kLargestRecycledBlock) return std::malloc(bytes);
    RecycledBlock* fits = nullptr;
    RecycledBlock* regrow = nullptr;
    for (RecycledBlock& entry : recycled) {
        if (entry.taken) continue;
        if (entry.capacity >= bytes && (fits == nullptr || entry.capacity < fits->capacity)) fits = &entry;
        if (regrow == nullptr || entry.capacity < regrow->capacity) regrow = &entry;
    }
    if (fits == nullptr && regrow == nullptr) return std::malloc(bytes);
    if (fits == nullptr) {
        std::free(regrow->block);
        *regrow = RecycledBlock{};
        regrow->block = std::malloc(bytes);
        if (regrow->block == nullptr) return nullptr;
        regrow->capacity = bytes;
        fits = regrow;
    }
    fits->taken = true;
    return fits->block;
}

void recyclingRelease(void* block) {
    for (RecycledBlock& entry : recycled) {
        if (entry.taken && entry.block == block) {
            entry.taken = false;
            return;
        }
    }
    std::free(block);
}

FrameBufferAllocator current = {recyclingAllocate, recyclingRelease};

}  // namespace

FrameBufferAllocator defaultFrameBufferAllocator() { return {recyclingAllocate, recyclingRelease}; }

void setFrameBufferAllocator(const FrameBufferAllocator& allocator) { current = allocator; }

void* allocateModuleBlock(size_t bytes) { return current.allocate(bytes); }

void releaseModuleBlock(void* block) {
    if (block != nullptr) current.release(block);
}

void* allocateFrameBuffer(size_t bytes) { return allocateModuleBlock(bytes == 0 ? 1 : bytes); }

void releaseRecycledFrameBuffers() {
    for (RecycledBlock& entry : recycled) {
        if (entry.taken) {
            entry.taken = false;  // recyclingRelease will not find it and frees it
            entry.block = nullptr;
        }
        std::free(entry.block);
        entry = RecycledBlock{};
    }
}
