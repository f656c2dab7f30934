#include "LiveCapture.h"

#include "AcquisitionState.h"
#include "FrameLayout.h"
#include "camera/CameraTable.h"
#include "camera/CameraTypes.h"
#include "camera/Parameters.h"
#include "common/FrameBuffer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

bool movesBlockBeforeSplit(uint32_t layoutCode) { return layoutCode >= 2 && layoutCode <= 4; }

struct LiveGrab {
    int32_t cameraId;
    bool preview;
    FrameReceiver first;
    FrameReceiver second;  // receives nothing in the preview form
    LiveImages images;
    uint32_t grabArgument;
    uint32_t* previewValue;
};

// Gives the frame buffer back unless a host's source gave it; the slot's
// descriptor keeps no address of it.
void releaseTransferBuffer(TransferDescriptor& transfer, void* buffer, const FrameBufferSource& source) {
    if (source.take == nullptr) releaseFrameBuffer(buffer);
    transfer.buffer = nullptr;
}

unsigned char* takeFrameBuffer(const FrameBufferSource& source, size_t bytes) {
    if (source.take != nullptr) return source.take(source.context, bytes);
    return static_cast<unsigned char*>(allocateFrameBuffer(bytes));
}

void deliverBounded(const FrameReceiver& receiver, size_t capacity, const unsigned char* source, size_t bytes) {
    receiver.deliver(source, std::min(bytes, capacity));
}

// What the camera answers for a layout before anything is grabbed: a
// colour camera delivers every layout, one without colour only those of
// its type. Reads the camera's information and nothing else.
ResultCode layoutRefusal(DeviceHandle handle, uint32_t layoutCode) {
    uint32_t colour = 0;
    uint32_t scratch = 0;
    if (drvGetCameraInfo(handle, kInfoColour, &colour, &scratch) != 0) return ResultInfoReadFailed;
    if (colour != 0) return ResultOk;
    return monoCameraLayoutCheck(readCameraType(handle), layoutCode);
}

ResultCode camGrabLive(const LiveGrab& grab) {
    const int index = findOpenCameraIndex(grab.cameraId);
    if (index == kNoSlot) return ResultInfoReadFailed;
    CameraSlot& slot = cameraSlot(index);
    const DeviceHandle handle = slot.deviceHandle.load();

    const ResultCode refused = layoutRefusal(handle, grab.images.layoutCode);
    if (refused != ResultOk) return refused;
    const uint32_t cameraType = readCameraType(handle);

    uint32_t width = 0, height = 0, pixelFormat = 0, extraFrames = 0;
    const uint32_t numbers[] = {kParamFrameWidth, kParamFrameHeight, kParamPixelFormat, kParamExtraFrames};
    uint32_t* values[] = {&width, &height, &pixelFormat, &extraFrames};
    for (int i = 0; i < 4; ++i)
        if (drvGetParameter(handle, slot.settingsBlock, numbers[i], values[i]) != 0) return ResultParameterReadFailed;
    if (!grab.images.shapeRead) return ResultParameterReadFailed;

    // Sizes in 64 bits: the descriptor's words hold 32, so a buffer or a
    // frame count past them cannot be described to the driver, and a buffer
    // smaller than the bytes described would be written past its end.
    const uint64_t pixels = uint64_t(width) * height;
    const uint64_t frameCount = uint64_t(extraFrames) + 1;
    const uint64_t bufferPixelBytes = isMemoryResetType(cameraType) ? 4 : liveBytesPerPixel(pixelFormat);
    if (frameCount > UINT32_MAX || pixels > UINT32_MAX || frameCount * pixels > UINT32_MAX / bufferPixelBytes)
        return ResultOutOfMemory;
    const uint64_t allocation = frameCount * pixels * bufferPixelBytes;
    const uint64_t described = frameCount * pixels * liveBytesPerPixel(pixelFormat);

    TransferDescriptor& transfer = acquisitionSlot(index).transfer;
    const FrameBufferSource& source = grab.images.bufferSource;
    unsigned char* buffer = takeFrameBuffer(source, size_t(allocation));
    transfer.buffer = buffer;
    if (buffer == nullptr) return ResultOutOfMemory;
    // The block is recycled (or the host's): where the driver writes less
    // than it reports, earlier bytes would pass for this frame's. A single
    // frame hands on no more than its image's bytes from the start, and
    // only those need clearing; a pair is cut and moved, so all of it is.
    const uint64_t handedOn = extraFrames == 0 ? std::min<uint64_t>(allocation, grab.images.bytes) : allocation;
    std::memset(buffer, 0, size_t(handedOn));
    transfer.byteSize = static_cast<uint32_t>(described);
    transfer.frameCount = static_cast<uint32_t>(frameCount);

    const uint32_t grabbed = grab.preview ? drvGrabPreview(handle, &transfer, grab.previewValue)
                                          : drvGrabFrames(handle, &transfer, grab.grabArgument);
    if (grabbed != 0 || transfer.status1 == 0 || transfer.status2 == 0) {
        drvStopCapture(handle);
        releaseTransferBuffer(transfer, buffer, source);
        return ResultGrabFailed;
    }

    // The driver may raise byteSize past the buffer; nothing beyond the
    // buffer is read or moved.
    const size_t used = size_t(std::min<uint64_t>(transfer.byteSize, allocation));
    const size_t half = used / 2;
    if (extraFrames != 0 && movesBlockBeforeSplit(grab.images.layoutCode)) {
        const size_t moved = size_t(uint64_t(used) * 3 / 8);
        std::memmove(buffer + half, buffer + moved, moved);
    }
    if (extraFrames == 0) {
        deliverBounded(grab.first, grab.images.bytes, buffer, used);
    } else {
        deliverBounded(grab.first, grab.images.bytes, buffer, half);
        deliverBounded(grab.second, grab.images.bytes, buffer + half, half);
    }

    if (!grab.preview) drvStopCapture(handle);
    releaseTransferBuffer(transfer, buffer, source);
    return ResultOk;
}

}  // namespace

uint32_t liveBytesPerPixel(uint32_t pixelFormat) {
    switch (pixelFormat) {
        case 0:
        case 5: return 1;
        case 1:
        case 6: return 2;
        case 2: return 3;
        default: return 4;
    }
}

ResultCode camSynchGrab(int32_t cameraId, const FrameReceiver& first, const FrameReceiver& second,
                        const LiveImages& images, uint32_t grabArgument) {
    return camGrabLive({cameraId, false, first, second, images, grabArgument, nullptr});
}

ResultCode camMemoryPreview(int32_t cameraId, const FrameReceiver& destination, const LiveImages& images,
                            uint32_t* previewValue) {
    return camGrabLive({cameraId, true, destination, {}, images, 0, previewValue});
}

ResultCode camCheckPixelFormat(int32_t cameraId, uint32_t pixelFormat) {
    const int index = findOpenCameraIndex(cameraId);
    if (index == kNoSlot) return ResultInfoReadFailed;
    const FrameShape shape = selectFrameShape(pixelFormat, FrameFamily::Live);
    return layoutRefusal(cameraSlot(index).deviceHandle.load(), shape.layoutCode);
}
