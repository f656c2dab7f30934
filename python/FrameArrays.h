// Frames read straight into the memory of numpy arrays. In the driver's
// order a mono frame already is a C-order (H, W) array, so the driver
// writes into the array itself; a colour frame takes one pass in place,
// the channel reversal, so that [..., p] holds what MATLAB's plane p + 1
// does. Every block an array is made over belongs to that array alone.
#ifndef QUORVEL_PYTHON_FRAMEARRAYS_H
#define QUORVEL_PYTHON_FRAMEARRAYS_H

#include "acquisition/FrameLayout.h"
#include "acquisition/Readout.h"

#include <pybind11/numpy.h>

#include <cstdint>
#include <vector>

// A frame-aligned heap block that a numpy array will own.
struct FrameBlock {
    void* data = nullptr;
    size_t bytes = 0;
};

FrameBlock allocateFrameBlock(size_t bytes);  // data nullptr when memory is short
void releaseFrameBlock(FrameBlock& block);

// The shape of `frames` frames of the shape at W x H: (frames, H, W[, 3]),
// or (H, W[, 3]) when `stacked` is false.
std::vector<pybind11::ssize_t> arrayShape(const FrameShape& shape, uint32_t width, uint32_t height, size_t frames,
                                          bool stacked);

// The numpy array of `frames` frames of the shape at W x H over the block,
// which it then owns (freed with the array); (frames, H, W[, 3]), or
// (H, W[, 3]) when `stacked` is false.
pybind11::array arrayOverBlock(FrameBlock& block, const FrameShape& shape, uint32_t width, uint32_t height,
                               size_t frames, bool stacked);

// Where the frames of a bulk read land: `frames` frames of frameBytes
// each, one after the other, in a memory of `capacity` bytes.
struct StackMemory {
    unsigned char* data = nullptr;
    size_t capacity = 0;
};

// Reads the frames `numbers` into the stack in order; the first frame
// that does not answer 0 ends the read with its status. A frame whose
// readout frame bound fits the memory from its slice on is written there
// by the driver; the rest go through the module's staging buffer. Answers
// the status; *read the frames complete.
ResultCode readIntoStack(int32_t cameraId, const std::vector<uint64_t>& numbers, BulkAddressing addressing,
                         const struct ReadoutImage& image, StackMemory memory, uint32_t* read);

// Bytes a fresh stack of `frames` frames needs so that the driver may
// write every frame in place: the last frame's readout bound past its start.
size_t freshStackBytes(const struct ReadoutImage& image, size_t frames);

#endif
