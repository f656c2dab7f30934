#include "FrameBuffer.h"

#include <cstdlib>

namespace {

// A command holds at most a frame buffer or a staging buffer at a time; a
// few entries let live capture and readout keep one block each.
constexpr int kRecycledBlocks = 4;

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

void* allocateFrameBuffer(size_t bytes) { return current.allocate(bytes == 0 ? 1 : bytes); }

void releaseFrameBuffer(void* block) { current.release(block); }

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
