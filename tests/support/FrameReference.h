// The frame conversion as a plain loop over every sample: the yardstick
// that the tests and benchmarks hold convertFrame to. It stays out of the
// module, which ships the fast conversion only.
#ifndef QUORVEL_TESTS_SUPPORT_FRAMEREFERENCE_H
#define QUORVEL_TESTS_SUPPORT_FRAMEREFERENCE_H

#include "acquisition/FrameLayout.h"

#include <cstdint>

// Output element (plane k, row r, column c) = k*N + c*H + r takes scratch
// element r*W + c (one sample per pixel) or (r*W + c)*3 + (2 - k) (three
// samples), as convertFrame documents it.
void convertFrameReference(const FrameShape& shape, uint32_t width, uint32_t height, const void* scratch,
                           void* output);

#endif
