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

// convertFrame on the given path; the path must be available.
void convertFrameOn(ConvertPath path, OutputStores stores, const FrameShape& shape, uint32_t width, uint32_t height,
                    const void* scratch, void* output);

#endif
