#include "FrameBuffer.h"

#include <cstdlib>

namespace {

void* heapAllocate(size_t bytes) { return std::malloc(bytes); }
void heapRelease(void* block) { std::free(block); }

FrameBufferAllocator current = {heapAllocate, heapRelease};

}  // namespace

FrameBufferAllocator defaultFrameBufferAllocator() { return {heapAllocate, heapRelease}; }

void setFrameBufferAllocator(const FrameBufferAllocator& allocator) { current = allocator; }

void* allocateFrameBuffer(size_t bytes) { return current.allocate(bytes == 0 ? 1 : bytes); }

void releaseFrameBuffer(void* block) { current.release(block); }
