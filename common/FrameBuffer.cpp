#include "FrameBuffer.h"

#include <cstdlib>
#include <cstring>

namespace {

// A command holds at most a frame buffer or a staging buffer at a time; a
// few entries let live capture and readout keep one block each.
constexpr int kRecycledBlocks = 4;

// Below this a fresh block costs less than a kept one would hold back.
constexpr size_t kSmallestRecycledBlock = 64 * 1024;

struct RecycledBlock {
    void* block = nullptr;
    size_t capacity = 0;
    bool taken = false;
};

RecycledBlock recycled[kRecycledBlocks];

void forget(RecycledBlock& entry) {
    std::free(entry.block);
    entry = RecycledBlock{};
}

size_t keptBytes() {
    size_t total = 0;
    for (const RecycledBlock& entry : recycled) total += entry.capacity;
    return total;
}

// Frees kept blocks not in use, smallest first, until `bytes` more fit in
// the limit; false when the blocks in use alone leave no room.
bool makeRoomFor(size_t bytes) {
    while (keptBytes() > kRecycledBytesLimit - bytes) {
        RecycledBlock* smallest = nullptr;
        for (RecycledBlock& entry : recycled)
            if (!entry.taken && entry.capacity > 0 && (smallest == nullptr || entry.capacity < smallest->capacity))
                smallest = &entry;
        if (smallest == nullptr) return false;
        forget(*smallest);
    }
    return true;
}

// The smallest kept block that holds the request; otherwise the free entry
// of least capacity is regrown (an empty one has none), so that the block
// kept for the largest frames stays, within the limit on all kept blocks.
void* recyclingAllocate(size_t bytes) {
    if (bytes < kSmallestRecycledBlock || bytes > kRecycledBytesLimit) return std::malloc(bytes);
    RecycledBlock* fits = nullptr;
    RecycledBlock* regrow = nullptr;
    for (RecycledBlock& entry : recycled) {
        if (entry.taken) continue;
        if (entry.capacity >= bytes && (fits == nullptr || entry.capacity < fits->capacity)) fits = &entry;
        if (regrow == nullptr || entry.capacity < regrow->capacity) regrow = &entry;
    }
    if (fits == nullptr && regrow == nullptr) return std::malloc(bytes);
    if (fits == nullptr) {
        forget(*regrow);
        if (!makeRoomFor(bytes)) return std::malloc(bytes);
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

size_t recycledFrameBufferBytes() { return keptBytes(); }

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
