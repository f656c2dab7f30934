// Live grabs: synthetic frames written into the caller's buffer, the
// status words, byteSize and the preview value as the camera's
// SimGrabBehaviour says, and the camera's frame faults.
#include "SimCallGuard.h"
#include "SimFrameFaults.h"
#include "SimFrames.h"
#include "SimResults.h"

#include <algorithm>

namespace {

// Writes the frames (with the camera's frame faults), never past the
// caller's byteSize; returns the number of the first one written and sets
// `result` to what the call answers.
uint32_t deliverFrames(SimCamera& camera, TransferDescriptor& transfer, uint32_t& result) {
    const uint32_t width = simParameterValue(camera, kSimParamWidth);
    const uint32_t height = simParameterValue(camera, kSimParamHeight);
    const uint32_t pixelFormat = simParameterValue(camera, kSimParamPixelFormat);
    const SimOverrides& overrides = camera.overrides;
    const size_t frameBytes = size_t(width) * height * simFrameFormat(pixelFormat, SimFrameKind::Live).bytesPerPixel();
    const size_t trueBytes = size_t(transfer.frameCount) * (frameBytes + overrides.frameExcess);
    const SimFrameFault fault = simTakeFrameFault(camera, std::min<size_t>(transfer.byteSize, trueBytes));
    const uint32_t first = camera.state.framesDelivered;
    auto* bytes = static_cast<unsigned char*>(transfer.buffer);
    size_t offset = 0;
    for (uint32_t frame = 0; frame < transfer.frameCount; ++frame) {
        offset += simRenderFrame(pixelFormat, SimFrameKind::Live, first + frame, width, height, bytes + offset,
                                 fault.writable - offset);
        const size_t excess = std::min<size_t>(overrides.frameExcess, fault.writable - offset);
        simWriteFrameExcess(bytes + offset, excess);
        offset += excess;
    }
    camera.state.framesDelivered += transfer.frameCount;
    transfer.status1 = overrides.grab.status1;
    transfer.status2 = overrides.grab.status2;
    if (overrides.frameExcess != 0) transfer.byteSize = static_cast<uint32_t>(trueBytes);
    if (overrides.grab.byteSize) transfer.byteSize = *overrides.grab.byteSize;
    result = fault.result;
    return first;
}

// The open camera of the handle when the descriptor can take frames.
SimCamera* grabbingCamera(SimCallGuard& call, DeviceHandle handle, const TransferDescriptor* transfer,
                          uint32_t& error) {
    SimCamera* camera = call.camera(handle);
    error = camera == nullptr ? kSimErrorNoCamera : kSimErrorBadSettings;
    if (camera == nullptr || transfer == nullptr || transfer->buffer == nullptr) return nullptr;
    return camera;
}

}  // namespace

uint32_t drvGrabFrames(DeviceHandle handle, TransferDescriptor* transfer, uint32_t argument) {
    SimCallGuard call(SimOperation::drvGrabFrames, {handle, simAddress(transfer), argument});
    if (call.forced) return *call.forced;
    uint32_t error = 0;
    SimCamera* camera = grabbingCamera(call, handle, transfer, error);
    if (camera == nullptr) return error;
    uint32_t result = 0;
    deliverFrames(*camera, *transfer, result);
    return result;
}

uint32_t drvGrabPreview(DeviceHandle handle, TransferDescriptor* transfer, uint32_t* previewValue) {
    SimCallGuard call(SimOperation::drvGrabPreview, {handle, simAddress(transfer), simAddress(previewValue)});
    if (call.forced) return *call.forced;
    uint32_t error = 0;
    SimCamera* camera = grabbingCamera(call, handle, transfer, error);
    if (camera == nullptr) return error;
    uint32_t result = 0;
    uint32_t first = deliverFrames(*camera, *transfer, result);
    if (previewValue != nullptr) *previewValue = camera->overrides.grab.previewValue.value_or(first);
    return result;
}
