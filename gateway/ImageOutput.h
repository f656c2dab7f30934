// Image outputs made without a scratch array: the output is created
// uninitialised and then written whole, by the conversion of the frame that
// a camera operation delivers (zeros where the delivery falls short of a
// frame) or by zeros when nothing arrives.
#ifndef QUORVEL_GATEWAY_IMAGEOUTPUT_H
#define QUORVEL_GATEWAY_IMAGEOUTPUT_H

#include "acquisition/FrameLayout.h"
#include "acquisition/FrameReceiver.h"
#include "mex.h"

// The MATLAB class of an image of those samples.
mxClassID imageClass(SampleType sampleType);

// An uninitialised real array of the shape's class, H x W (x 3).
mxArray* createImageArray(const FrameShape& shape, uint32_t width, uint32_t height);

// The same with a last dimension of `frames`: H x W (x 3) x frames.
mxArray* createImageStack(const FrameShape& shape, uint32_t width, uint32_t height, mwSize frames);

// The host's physical memory in bytes: no stack larger than this is made.
uint64_t hostMemoryBytes();

// Cuts a stack down to its first `frames` frames (no more than it has).
void keepStackFrames(mxArray* stack, const FrameShape& shape, uint32_t width, uint32_t height, mwSize frames);

// Output = the frame of which `delivered` bytes are given, as if zeros
// followed them up to the frame's size (a sample cut short keeps the bytes
// it has). The whole output is written.
void convertDeliveredFrame(const FrameShape& shape, uint32_t width, uint32_t height, const unsigned char* frame,
                           size_t delivered, void* output);

// One image of an output array: receives its frame from a camera operation
// and is complete after finish().
class ImageTarget {
public:
    ImageTarget(const FrameShape& shape, uint32_t width, uint32_t height, void* output)
        : shape_(shape), width_(width), height_(height), output_(output) {}

    FrameReceiver receiver() { return {receiveFrame, this}; }
    // Zeros the image when no frame arrived.
    void finish();

private:
    static void receiveFrame(void* context, const unsigned char* frame, size_t count);

    FrameShape shape_;
    uint32_t width_;
    uint32_t height_;
    void* output_;
    bool filled_ = false;
};

// Creates an image output into *slot and the target that fills it.
ImageTarget createImageOutput(mxArray** slot, const FrameShape& shape, uint32_t width, uint32_t height);

#endif
