// Camera memory: the readout of recorded frames, the segment table, the
// trigger position, and the reset and erase that act on the memory.
#include "SimCallGuard.h"
#include "SimFrameFaults.h"
#include "SimFrames.h"
#include "SimResults.h"

#include <algorithm>

// Renders the frame at position + index into the destination: one frame of
// the camera's current size and format, readout kind, with the camera's
// frame faults. The destination has no size: the excess written after the
// frame stops at the widest format's frame.
uint32_t drvReadMemory(DeviceHandle handle, uint64_t position, uint32_t index, void* destination) {
    SimCallGuard call(SimOperation::drvReadMemory, {handle, position, index, simAddress(destination)});
    if (call.forced) return *call.forced;
    SimCamera* camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    const std::vector<uint32_t>& frames = camera->state.memory.frames;
    if (position >= frames.size() || index >= frames.size() - position) return kSimErrorNoFrame;
    if (destination == nullptr) return kSimErrorBadSettings;
    const uint32_t pixelFormat = simParameterValue(*camera, kSimParamPixelFormat);
    const uint32_t width = simParameterValue(*camera, kSimParamWidth);
    const uint32_t height = simParameterValue(*camera, kSimParamHeight);
    const size_t frameBytes =
        size_t(width) * height * simFrameFormat(pixelFormat, SimFrameKind::Readout).bytesPerPixel();
    const size_t widest = size_t(width) * height * kSimWidestReadoutPixelBytes;
    const size_t excess = std::min<size_t>(camera->overrides.frameExcess, widest - std::min(frameBytes, widest));
    const SimFrameFault fault = simTakeFrameFault(*camera, frameBytes + excess);
    const size_t written = simRenderFrame(pixelFormat, SimFrameKind::Readout, frames[position + index], width, height,
                                          destination, std::min(frameBytes, fault.writable));
    simWriteFrameExcess(static_cast<unsigned char*>(destination) + written, fault.writable - written);
    return fault.result;
}

// Copies the first positions of the segments begun, at most `entries`.
uint32_t drvReadSegmentTable(DeviceHandle handle, uint32_t zero, uint32_t entries, uint64_t* table) {
    SimCallGuard call(SimOperation::drvReadSegmentTable, {handle, zero, entries, simAddress(table)});
    if (call.forced) return *call.forced;
    SimCamera* camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    if (table == nullptr || zero != 0) return kSimErrorUnknownItem;
    const std::vector<uint64_t>& segments = camera->state.memory.segments;
    std::copy_n(segments.begin(), std::min<size_t>(entries, segments.size()), table);
    return 0;
}

// aux1: the trigger frame's number, aux2: frames in memory; first: the
// trigger position, second: frames in memory.
uint32_t drvReadTriggerPosition(DeviceHandle handle, uint32_t* aux1, uint32_t* aux2, uint32_t* first,
                                uint32_t* second) {
    SimCallGuard call(SimOperation::drvReadTriggerPosition,
                      {handle, simAddress(aux1), simAddress(aux2), simAddress(first), simAddress(second)});
    if (call.forced) return *call.forced;
    SimCamera* camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    const SimMemory& memory = camera->state.memory;
    if (!memory.triggered || memory.triggerPosition >= memory.frames.size()) return kSimErrorNoTrigger;
    const uint32_t recorded = static_cast<uint32_t>(memory.frames.size());
    *aux1 = memory.frames[memory.triggerPosition];
    *aux2 = recorded;
    *first = memory.triggerPosition;
    *second = recorded;
    return 0;
}

namespace {

// Ends the device's recording and disk read, forgets their callbacks and
// the trigger; the camera of the handle afterwards (looked up afresh), or
// nullptr once it is gone.
SimCamera* stopActivity(SimCallGuard& call, DeviceHandle handle) {
    SimWorkers workers = call.state.stopDevice(handle);
    simJoinWorkers(call.lock, workers);
    SimCamera* camera = call.camera(handle);
    SimDevice* device = call.state.device(handle);
    if (camera == nullptr || device == nullptr) return nullptr;
    device->recordingCallback = nullptr;
    device->recordingContext = nullptr;
    device->diskReadCallback = nullptr;
    device->diskReadContext = nullptr;
    camera->state.memory.triggered = false;
    camera->state.memory.triggerPosition = 0;
    return camera;
}

// A camera reset: the recording and the disk read end, the trigger is
// forgotten; what was recorded stays unless the memory is erased too.
uint32_t resetCamera(SimOperation operation, DeviceHandle handle, bool erase) {
    SimCallGuard call(operation, {handle});
    if (call.forced) return *call.forced;
    if (call.camera(handle) == nullptr) return kSimErrorNoCamera;
    SimCamera* camera = stopActivity(call, handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    if (erase) {
        camera->state.memory.frames.clear();
        camera->state.memory.segments.clear();
        ++camera->counters.erases;
    } else {
        ++camera->counters.resets;
    }
    return 0;
}

}  // namespace

uint32_t drvReset(DeviceHandle handle) { return resetCamera(SimOperation::drvReset, handle, false); }

uint32_t drvEraseMemory(DeviceHandle handle) { return resetCamera(SimOperation::drvEraseMemory, handle, true); }
