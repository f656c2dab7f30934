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

// The frame form: drvGrabFrames with the grab argument. With extra frames
// the first half of the data goes to `first` and the second half to
// `second`; without, all of it goes to `first`. Each receiver is given at
// most `destinationBytes`, and nothing when nothing is copied. Stops the
// capture after every grab, failed or not.
// Codes: 0, 3, 7, 9, 11, 12, 18; an id no open slot holds answers 9
// without a driver call.
ResultCode camSynchGrab(int32_t cameraId, const FrameReceiver& first, const FrameReceiver& second,
                        size_t destinationBytes, uint32_t layoutCode, uint32_t grabArgument);

// The preview form: drvGrabPreview, which writes *previewValue. With extra
// frames only the first half has a destination; the second is dropped.
// Stops the capture only after a failed grab. Codes as camSynchGrab.
ResultCode camMemoryPreview(int32_t cameraId, const FrameReceiver& destination, size_t destinationBytes,
                            uint32_t layoutCode, uint32_t* previewValue);

#endif
