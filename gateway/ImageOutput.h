// Image outputs as MATLAB arrays, made without a scratch array: an image
// is created uninitialised and then written whole by the ImageTarget over
// its data (acquisition/ImageTarget.h).
#ifndef QUORVEL_GATEWAY_IMAGEOUTPUT_H
#define QUORVEL_GATEWAY_IMAGEOUTPUT_H

#include "acquisition/FrameLayout.h"
#include "acquisition/ImageTarget.h"
#include "mex.h"

// The MATLAB class of an image of those samples.
mxClassID imageClass(SampleType sampleType);

// An uninitialised real array of the shape's class, H x W (x 3).
mxArray* createImageArray(const FrameShape& shape, uint32_t width, uint32_t height);

// The same with a last dimension of `frames`: H x W (x 3) x frames.
mxArray* createImageStack(const FrameShape& shape, uint32_t width, uint32_t height, mwSize frames);

// Cuts a stack down to its first `frames` frames (no more than it has).
void keepStackFrames(mxArray* stack, const FrameShape& shape, uint32_t width, uint32_t height, mwSize frames);

// Creates an image output into *slot and the target that fills it.
ImageTarget createImageOutput(mxArray** slot, const FrameShape& shape, uint32_t width, uint32_t height);

#endif
