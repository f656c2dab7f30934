#include "SimCameraControl.h"

#include "SimState.h"

#include <algorithm>

void simAddCamera(const SimCamera& camera) {
    auto lock = simLockState();
    simState().cameras.push_back(camera);
}

bool simRemoveCamera(uint32_t cameraId) {
    auto lock = simLockState();
    if (SimCamera* camera = simState().camera(cameraId); camera != nullptr && camera->state.open) {
        SimWorkers workers = simState().stopDevice(camera->state.handle);
        simJoinWorkers(lock, workers);
    }
    auto& cameras = simState().cameras;
    auto found = std::find_if(cameras.begin(), cameras.end(),
                              [&](const SimCamera& camera) { return camera.config.cameraId == cameraId; });
    if (found == cameras.end()) return false;
    if (found->state.open) simState().devices.erase(found->state.handle);
    simState().lateCallbacks.erase(cameraId);  // a camera added later under this id has recorded nothing
    cameras.erase(found);
    return true;
}

bool simConfigureCamera(uint32_t cameraId, const std::function<void(SimCamera&)>& change) {
    auto lock = simLockState();
    SimCamera* camera = simState().camera(cameraId);
    if (camera == nullptr) return false;
    change(*camera);
    return true;
}

std::optional<SimCamera> simCamera(uint32_t cameraId) {
    auto lock = simLockState();
    SimCamera* camera = simState().camera(cameraId);
    if (camera == nullptr) return std::nullopt;
    return *camera;
}

std::vector<uint32_t> simCameraIds() {
    auto lock = simLockState();
    std::vector<uint32_t> ids;
    for (const SimCamera& camera : simState().cameras) ids.push_back(camera.config.cameraId);
    return ids;
}

void simSetReportedEnumCount(std::optional<uint32_t> count) {
    auto lock = simLockState();
    simState().reportedEnumCount = count;
}

bool simSetTimeSource(uint32_t cameraId, SimTimeSource source, const TimingRecord& fixed) {
    auto lock = simLockState();
    SimCamera* camera = simState().camera(cameraId);
    if (camera == nullptr) return false;
    camera->config.timeSource = source;
    camera->config.fixedTiming = fixed;
    return true;
}
