// Whether images fit the host's memory: a host asks before it makes the
// arrays of a grab or a bulk read, and answers 11 instead of asking for
// more than the machine has, or for a size that passes 64 bits.
#ifndef QUORVEL_ACQUISITION_HOSTMEMORY_H
#define QUORVEL_ACQUISITION_HOSTMEMORY_H

#include "FrameLayout.h"

#include <cstdint>

// The host's physical memory in bytes: no stack larger than this is made.
uint64_t hostMemoryBytes();

// Whether `frames` images of the shape at W x H fit the host's memory;
// false also where their bytes pass 64 bits. Asking the host for more
// would fail (with a wrapped size in its message) or thrash.
bool imagesFitHost(const FrameShape& shape, uint32_t width, uint32_t height, uint64_t frames);

#endif
