#include "SimMemoryControl.h"

#include "SimCameraControl.h"
#include "SimRecorder.h"

#include <chrono>
#include <thread>

namespace {

// Polls the camera until `idle` holds or the time is up.
template <typename Idle>
bool waitUntil(uint32_t cameraId, int timeoutMilliseconds, Idle idle) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(simState().mutex);
            const SimCamera* camera = simState().camera(cameraId);
            if (camera == nullptr || idle(camera->state.memory)) return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace

bool simSetMemory(uint32_t cameraId, uint32_t capacity, uint32_t recordingRate, uint32_t diskReadRate) {
    return simConfigureCamera(cameraId, [&](SimCamera& camera) {
        camera.config.memoryCapacity = capacity;
        camera.config.recordingRate = recordingRate;
        camera.config.diskReadRate = diskReadRate;
    });
}

bool simWaitForRecording(uint32_t cameraId, int timeoutMilliseconds) {
    return waitUntil(cameraId, timeoutMilliseconds, [](const SimMemory& memory) { return !memory.recording; });
}

bool simRecordingAwaitsEvents(uint32_t cameraId) {
    auto lock = simLockState();
    SimCamera* camera = simState().camera(cameraId);
    SimDevice* device = camera != nullptr && camera->state.open ? simState().device(camera->state.handle) : nullptr;
    return device != nullptr && camera->state.memory.recording && device->recording.recorder == nullptr;
}

bool simWaitForDiskRead(uint32_t cameraId, int timeoutMilliseconds) {
    return waitUntil(cameraId, timeoutMilliseconds, [](const SimMemory& memory) { return !memory.diskReading; });
}

bool simFireRecordEvent(uint32_t cameraId) {
    auto lock = simLockState();
    SimCamera* camera = simState().camera(cameraId);
    SimDevice* device = camera != nullptr && camera->state.open ? simState().device(camera->state.handle) : nullptr;
    if (device == nullptr || device->recordingCallback == nullptr) return false;
    SimRecordEvent event;
    simRecordFrame(simState(), camera->state.handle, event);  // a frame only while the recording runs
    RecordingCallback callback = device->recordingCallback;
    void* context = device->recordingContext;
    lock.unlock();  // the callback calls back into the driver
    callback(context, event.frameNumber, event.position);
    return true;
}

bool simFireLateRecordEvent(uint32_t cameraId) {
    auto lock = simLockState();
    auto found = simState().lateCallbacks.find(cameraId);
    if (found == simState().lateCallbacks.end() || found->second.callback == nullptr) return false;
    const SimLateCallback late = found->second;
    lock.unlock();
    late.callback(late.context, 0, 0);
    return true;
}

bool simFireDiskProgress(uint32_t cameraId, uint32_t current, uint32_t final) {
    auto lock = simLockState();
    SimCamera* camera = simState().camera(cameraId);
    SimDevice* device = camera != nullptr && camera->state.open ? simState().device(camera->state.handle) : nullptr;
    if (device == nullptr || device->diskReadCallback == nullptr) return false;
    DiskReadCallback callback = device->diskReadCallback;
    void* context = device->diskReadContext;
    lock.unlock();
    callback(context, current, final);
    return true;
}
