// The image a live grab fills: the camera's size and PixelFormat read
// before the grab, in live capture's shape.
#ifndef QUORVEL_ACQUISITION_LIVEIMAGE_H
#define QUORVEL_ACQUISITION_LIVEIMAGE_H

#include "FrameLayout.h"
#include "LiveCapture.h"

struct LiveImage {
    FrameShape shape;
    uint32_t width = 0;
    uint32_t height = 0;
    bool shapeRead = false;

    size_t frameBytes() const { return shape.frameBytes(width, height); }
    LiveImages request() const { return {frameBytes(), shape.layoutCode, shapeRead}; }
};

// A failed read counts as 0: format 0's shape (uint8 H x W), or an empty
// image; the grab then answers 7 and the images stay zero.
LiveImage liveImageOf(int32_t cameraId);

#endif
