// Live capture: one grab into a frame buffer that lives for the command,
// handed to the command's images while it lives.
#ifndef QUORVEL_ACQUISITION_LIVECAPTURE_H
#define QUORVEL_ACQUISITION_LIVECAPTURE_H

#include "FrameReceiver.h"
#include "common/ResultCodes.h"

#include <cstddef>
#include <cstdint>

constexpr uint32_t kParamExtraFrames = 7;  // the buffer holds this + 1 frames

// Bytes one pixel takes in the driver's frame buffer.
uint32_t liveBytesPerPixel(uint32_t pixelFormat);

// Where a grab's frame buffer comes from when not from the module: a host
// that hands the frame out where the driver wrote it (a numpy array over
// it) takes the buffer's `bytes` itself, and keeps it; nullptr when memory
// is short. The receivers are then handed frames inside that memory.
struct FrameBufferSource {
    unsigned char* (*take)(void* context, size_t bytes) = nullptr;
    void* context = nullptr;
};

// The images a grab fills: each receiver is given at most `bytes`.
// shapeRead is false when the caller could not read the pixel format or
// the frame size its images are shaped by: the grab then answers 7 where
// the camera's own parameter reads would, without grabbing, since its
// bytes would be taken for another layout.
struct LiveImages {
    size_t bytes = 0;
    uint32_t layoutCode = 0;
    bool shapeRead = true;
    FrameBufferSource bufferSource{};  // the module's own buffer when unset
};

// The frame form: drvGrabFrames with the grab argument. With extra frames
// the first half of the data goes to `first` and the second half to
// `second`; without, all of it goes to `first`. Nothing is given when
// nothing is copied; the frame buffer is cleared before the grab, so bytes
// the driver did not write reach the images as zeros. Stops the capture
// after every grab, failed or not.
// A frame buffer or frame count past the driver's 32-bit words answers 11
// before any grab.
// Codes: 0, 3, 7, 9, 11, 12, 18; an id no open slot holds answers 9
// without a driver call.
ResultCode camSynchGrab(int32_t cameraId, const FrameReceiver& first, const FrameReceiver& second,
                        const LiveImages& images, uint32_t grabArgument);

// The preview form: drvGrabPreview, which writes *previewValue. With extra
// frames only the first half has a destination; the second is dropped.
// Stops the capture only after a failed grab. Codes as camSynchGrab.
ResultCode camMemoryPreview(int32_t cameraId, const FrameReceiver& destination, const LiveImages& images,
                            uint32_t* previewValue);

// What a grab of the camera (or a readout of its memory) answers for the
// pixel format before anything is moved: 0, 3 or 18 by the camera's colour
// and type, 9 when its information cannot be read or no open slot holds
// the id. Reads the camera's information only.
ResultCode camCheckPixelFormat(int32_t cameraId, uint32_t pixelFormat);

#endif
