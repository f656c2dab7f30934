// The image every frame of a readout is read as: the camera's size and
// format read once, before the first frame. A frame size that cannot be
// read gives empty images, a format that cannot be read format 0's shape
// (uint8 H x W); either answers 7 without a readout.
#ifndef QUORVEL_ACQUISITION_READOUTIMAGE_H
#define QUORVEL_ACQUISITION_READOUTIMAGE_H

#include "FrameLayout.h"
#include "Readout.h"

struct ReadoutImage {
    FrameShape shape;
    uint32_t pixelFormat = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    bool sizeRead = false;
    bool formatRead = false;

    size_t frameBytes() const { return shape.frameBytes(width, height); }
    // Size and format read, and a frame of the size addressable in memory.
    bool shapeKnown() const;
    // Where a readout of this image lands: the receiver is given frameBytes().
    ReadoutDestination destination(const FrameReceiver& receiver) const;
};

ReadoutImage readoutImageOf(int32_t cameraId);

#endif
