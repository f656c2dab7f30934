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
// half of the rows. convertFrame itself takes one: on a 2-core machine
// shared with other work, the helper measured no steady gain at any frame
// size (bench/bench_convert.cpp, ConvertFrameThreads).
void convertFrameOn(ConvertPath path, OutputStores stores, const FrameShape& shape, uint32_t width, uint32_t height,
                    const void* scratch, void* output, uint32_t threads = 1);

#endif
