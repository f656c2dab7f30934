// The heap blocks the module takes for one command: text arguments, live
// capture's frame buffers and the readout's staging block. Every one comes
// from one replaceable allocator, so that tests can refuse any allocation
// and watch the sizes taken and the blocks given back.
//
// The default allocator recycles frame-sized blocks: a block given back is
// kept for the next request it is large enough for, so that repeated
// commands find their memory mapped and warm instead of faulting in fresh
// pages every call. Kept blocks grow on demand and go back to the heap with
// releaseRecycledFrameBuffers, when the module unloads or is reset. The
// kept blocks together hold at most kRecycledBytesLimit: a block that would
// pass it first frees the other kept blocks not in use, and otherwise comes
// from the heap like small blocks (texts) do. Blocks are taken and given
// back on MATLAB's thread only.
#ifndef QUORVEL_COMMON_FRAMEBUFFER_H
#define QUORVEL_COMMON_FRAMEBUFFER_H

#include <cstddef>
#include <memory>

// All the default allocator keeps between commands, in bytes.
constexpr size_t kRecycledBytesLimit = size_t(256) << 20;

struct FrameBufferAllocator {
    void* (*allocate)(size_t bytes);  // nullptr when memory is short
    void (*release)(void* block);
};

// The recycling allocator over the heap's malloc and free.
FrameBufferAllocator defaultFrameBufferAllocator();

void setFrameBufferAllocator(const FrameBufferAllocator& allocator);

// A block from the allocator, or nullptr; release with releaseModuleBlock,
// which takes nullptr as free() does.
void* allocateModuleBlock(size_t bytes);
void releaseModuleBlock(void* block);

// A block of at least one byte, so that an empty frame is not taken for a
// failed allocation. Its contents are undefined.
void* allocateFrameBuffer(size_t bytes);
inline void releaseFrameBuffer(void* block) { releaseModuleBlock(block); }

struct FrameBufferRelease {
    void operator()(void* block) const { releaseModuleBlock(block); }
};
using FrameBufferBlock = std::unique_ptr<void, FrameBufferRelease>;

// Gives the default allocator's kept blocks back to the heap; blocks still
// taken go back when they are released.
void releaseRecycledFrameBuffers();

// The bytes of the blocks the default allocator keeps, in use or not.
size_t recycledFrameBufferBytes();

#endif
