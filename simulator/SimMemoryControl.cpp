// The camera-memory part of the control API (QuorvelSim.h).
#include "SimState.h"

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

bool simWaitForDiskRead(uint32_t cameraId, int timeoutMilliseconds) {
    return waitUntil(cameraId, timeoutMilliseconds, [](const SimMemory& memory) { return !memory.diskReading; });
}
