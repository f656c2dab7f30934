// The heap blocks that live capture takes for one command. The allocator
// is replaceable so that tests can refuse an allocation and watch the
// sizes taken and the blocks given back.
#ifndef QUORVEL_ACQUISITION_FRAMEBUFFER_H
#define QUORVEL_ACQUISITION_FRAMEBUFFER_H

#include <cstddef>

struct FrameBufferAllocator {
    void* (*allocate)(size_t bytes);  // nullptr when memory is short
    void (*release)(void* block);
};

// The heap's malloc and free.
FrameBufferAllocator defaultFrameBufferAllocator();

void setFrameBufferAllocator(const FrameBufferAllocator& allocator);

// A block of at least one byte, so that an empty frame is not taken for a
// failed allocation.
void* allocateFrameBuffer(size_t bytes);
void releaseFrameBuffer(void* block);

#endif
