// Live grabs: synthetic frames written into the caller's buffer, the
// status words, byteSize and the preview value as the camera's
// SimGrabBehaviour says.
#include "SimState.h"

namespace {

uint32_t parameterValue(const SimCamera& camera, uint32_t number) {
    auto found = camera.parameters.find(number);
    return found == camera.parameters.end() ? 0 : found->second.value;
}

// Writes the frames; returns the number of the first one written.
uint32_t deliverFrames(SimCamera& camera, TransferDescriptor& transfer) {
    const uint32_t width = parameterValue(camera, kSimParamWidth);
    const uint32_t height = parameterValue(camera, kSimParamHeight);
    const uint32_t pixelFormat = parameterValue(camera, kSimParamPixelFormat);
    const uint32_t first = camera.framesDelivered;
    auto* bytes = static_cast<unsigned char*>(transfer.buffer);
    size_t offset = 0;
    for (uint32_t frame = 0; frame < transfer.frameCount; ++frame) {
        offset += simRenderFrame(pixelFormat, SimFrameKind::Live, first + frame, width, height, bytes + offset,
                                 transfer.byteSize - offset);
    }
    camera.framesDelivered += transfer.frameCount;
    transfer.status1 = camera.grab.status1;
    transfer.status2 = camera.grab.status2;
    if (camera.grab.byteSize) transfer.byteSize = *camera.grab.byteSize;
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
    SimCallGuard call("drvGrabFrames", {handle, simAddress(transfer), argument});
    if (call.forced) return *call.forced;
    uint32_t error = 0;
    SimCamera* camera = grabbingCamera(call, handle, transfer, error);
    if (camera == nullptr) return error;
    deliverFrames(*camera, *transfer);
    return 0;
}

uint32_t drvGrabPreview(DeviceHandle handle, TransferDescriptor* transfer, uint32_t* previewValue) {
    SimCallGuard call("drvGrabPreview", {handle, simAddress(transfer), simAddress(previewValue)});
    if (call.forced) return *call.forced;
    uint32_t error = 0;
    SimCamera* camera = grabbingCamera(call, handle, transfer, error);
    if (camera == nullptr) return error;
    uint32_t first = deliverFrames(*camera, *transfer);
    if (previewValue != nullptr) *previewValue = camera->grab.previewValue.value_or(first);
    return 0;
}
