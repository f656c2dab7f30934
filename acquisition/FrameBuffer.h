// The heap blocks the module takes for one command: text arguments, live
// capture's frame buffers and the readout's staging block. Every one comes
// from one replaceable allocator, so that tests can refuse any allocation
// and watch the sizes taken and the blocks given back.
#ifndef QUORVEL_ACQUISITION_FRAMEBUFFER_H
#define QUORVEL_ACQUISITION_FRAMEBUFFER_H

#include <cstddef>
#include <memory>

struct FrameBufferAllocator {
    void* (*allocate)(size_t bytes);  // nullptr when memory is short
    void (*release)(void* block);
};

// The heap's malloc and free.
FrameBufferAllocator defaultFrameBufferAllocator();

void setFrameBufferAllocator(const FrameBufferAllocator& allocator);

// A block from the allocator, or nullptr; release with releaseModuleBlock,
// which takes nullptr as free() does.
void* allocateModuleBlock(size_t bytes);
void releaseModuleBlock(void* block);

// A block of at least one byte, so that an empty frame is not taken for a
// failed allocation.
void* allocateFrameBuffer(size_t bytes);
inline void releaseFrameBuffer(void* block) { releaseModuleBlock(block); }

struct FrameBufferRelease {
    void operator()(void* block) const { releaseModuleBlock(block); }
};
using ZeroedFrameBuffer = std::unique_ptr<void, FrameBufferRelease>;

// A zero-filled frame buffer that gives itself back; null when refused.
ZeroedFrameBuffer allocateZeroedFrameBuffer(size_t bytes);

#endif
