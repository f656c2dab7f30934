// The instruction-set paths of convertFrame, for tests and benchmarks that
// exercise each one. convertFrame itself picks the best path the processor
// has, once.
#ifndef QUORVEL_ACQUISITION_FRAMECONVERTPATHS_H
#define QUORVEL_ACQUISITION_FRAMECONVERTPATHS_H

#include "FrameLayout.h"

enum class ConvertPath { Portable, Sse2, Avx2 };

bool convertPathAvailable(ConvertPath path);
ConvertPath selectedConvertPath();

// How whole output lines are stored: through the caches, or past them
// where the output's alignment allows; convertFrame streams large outputs
// whose columns are a multiple of 4 KiB apart.
enum class OutputStores { BySize, Cached, Streamed };

// convertFrame on the given path (which must be available), by one thread
// or, with `threads` 2, by this thread and the parked helper, which share
// the rows in bands. convertFrame itself takes two for outputs of
// kTwoThreadOutputBytes or more where the processor has a second hardware
// thread. Measured one against two (bench/convert_table.py --threads) on a
// 2-core machine whose other core was mostly busy: below 4 MiB two threads
// lose up to 70 % (the wake-up, and a helper waiting for its core), from
// 8 MiB they are even within the benchmark's spread; with an idle core
// they gain there.
constexpr size_t kTwoThreadOutputBytes = size_t(8) << 20;
void convertFrameOn(ConvertPath path, OutputStores stores, const FrameShape& shape, uint32_t width, uint32_t height,
                    const void* scratch, void* output, uint32_t threads = 1);

#endif
