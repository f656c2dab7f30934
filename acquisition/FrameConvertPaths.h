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
// or, with `threads` 2, by this thread and a helper that converts the lower
// half of the rows. convertFrame itself takes two for outputs of
// kTwoThreadOutputBytes or more where the processor has a second hardware
// thread: on an idle 2-core machine that is where the helper's start-up
// (about 50 us) is repaid, 25 to 45 % faster (bench/bench_convert.cpp,
// ConvertFrameThreads); below it one thread is as fast or faster.
constexpr size_t kTwoThreadOutputBytes = size_t(3) << 20;
void convertFrameOn(ConvertPath path, OutputStores stores, const FrameShape& shape, uint32_t width, uint32_t height,
                    const void* scratch, void* output, uint32_t threads = 1);

#endif
