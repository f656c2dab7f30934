// One image that a camera operation's frame is converted into, straight
// from the operation's buffer: the image's memory is written whole, by the
// conversion of what the operation delivers (zeros where the delivery falls
// short of a frame) or by zeros when nothing arrives. The memory is the
// caller's (the gateway's MATLAB array).
#ifndef QUORVEL_ACQUISITION_IMAGETARGET_H
#define QUORVEL_ACQUISITION_IMAGETARGET_H

#include "FrameLayout.h"
#include "FrameReceiver.h"

#include <cstddef>
#include <cstdint>

// Output = the frame of which `delivered` bytes are given, as if zeros
// followed them up to the frame's size (a sample cut short keeps the bytes
// it has). The whole output is written.
void convertDeliveredFrame(const FrameShape& shape, uint32_t width, uint32_t height, const unsigned char* frame,
                           size_t delivered, void* output);

// Receives its frame from a camera operation and is complete after finish().
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

#endif
