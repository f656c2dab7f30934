// The heap blocks that the module takes for a command: live capture's frame
// buffer and readout's staging buffer. The allocator is replaceable so that
// tests can refuse an allocation and watch the sizes taken and the blocks
// given back.
//
// The default allocator recycles: a block given back is kept for the next
// request it is large enough for, so that repeated commands find their
// memory mapped and warm instead of faulting in fresh pages every call. Kept
// blocks grow on demand and go back to the heap with
// releaseRecycledFrameBuffers, when the module unloads or is reset. Blocks
// are taken and given back on MATLAB's thread only.
#ifndef QUORVEL_ACQUISITION_FRAMEBUFFER_H
#define QUORVEL_ACQUISITION_FRAMEBUFFER_H

#include <cstddef>

struct FrameBufferAllocator {
    void* (*allocate)(size_t bytes);  // nullptr when memory is short
    void (*release)(void* block);
};

// The recycling allocator over the heap's malloc and free.
FrameBufferAllocator defaultFrameBufferAllocator();

void setFrameBufferAllocator(const FrameBufferAllocator& allocator);

// A block of at least one byte, so that an empty frame is not taken for a
// failed allocation. Its contents are undefined.
void* allocateFrameBuffer(size_t bytes);
void releaseFrameBuffer(void* block);

// Gives the default allocator's kept blocks back to the heap; blocks still
// taken go back when they are released.
void releaseRecycledFrameBuffers();

#endif
