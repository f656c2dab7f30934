#include "FrameBuffer.h"

#include <cstdlib>
#include <cstring>

namespace {

void* heapAllocate(size_t bytes) { return std::malloc(bytes); }
void heapRelease(void* block) { std::free(block); }

FrameBufferAllocator current = {heapAllocate, heapRelease};

}  // namespace

FrameBufferAllocator defaultFrameBufferAllocator() { return {heapAllocate, heapRelease}; }

void setFrameBufferAllocator(const FrameBufferAllocator& allocator) { current = allocator; }

void* allocateModuleBlock(size_t bytes) { return current.allocate(bytes); }

void releaseModuleBlock(void* block) {
    if (block != nullptr) current.release(block);
}

void* allocateFrameBuffer(size_t bytes) { return allocateModuleBlock(bytes == 0 ? 1 : bytes); }

ZeroedFrameBuffer allocateZeroedFrameBuffer(size_t bytes) {
    ZeroedFrameBuffer block(allocateFrameBuffer(bytes));
    if (block != nullptr) std::memset(block.get(), 0, bytes == 0 ? 1 : bytes);
    return block;
}
