// The control API of QuorvelSim.h.
#include "SimState.h"

#include <algorithm>

namespace {

std::unique_lock<std::mutex> lockState() { return std::unique_lock<std::mutex>(simState().mutex); }

}  // namespace

void simReset() {
    auto lock = lockState();
    SimState& state = simState();
    SimWorkers workers = simStopAllDevices(state);
    simJoinWorkers(lock, workers);
    state.cameras = simDefaultCameras();
    state.devices.clear();
    state.log.clear();
    state.log.setLimit(kSimCallLogLimit);
    state.faults = SimFaultSchedules{};
    state.lateCallbacks.clear();
    state.reportedEnumCount.reset();
}

void simAddCamera(const SimCamera& camera) {
    auto lock = lockState();
    simState().cameras.push_back(camera);
}

bool simRemoveCamera(uint32_t cameraId) {
    auto lock = lockState();
    if (SimCamera* camera = simState().camera(cameraId); camera != nullptr && camera->state.open) {
        SimWorkers workers = simStopDevice(simState(), camera->state.handle);
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
    auto lock = lockState();
    SimCamera* camera = simState().camera(cameraId);
    if (camera == nullptr) return false;
    change(*camera);
    return true;
}

std::optional<SimCamera> simCamera(uint32_t cameraId) {
    auto lock = lockState();
    SimCamera* camera = simState().camera(cameraId);
    if (camera == nullptr) return std::nullopt;
    return *camera;
}

std::vector<uint32_t> simCameraIds() {
    auto lock = lockState();
    std::vector<uint32_t> ids;
    for (const SimCamera& camera : simState().cameras) ids.push_back(camera.config.cameraId);
    return ids;
}

void simSetReportedEnumCount(std::optional<uint32_t> count) {
    auto lock = lockState();
    simState().reportedEnumCount = count;
}

std::vector<SimCall> simCallLog() {
    auto lock = lockState();
    return simState().log.recent();
}

void simClearCallLog() {
    auto lock = lockState();
    simState().log.clear();
}

int simCallCount(const SimOperationKey& operation) {
    auto lock = lockState();
    return static_cast<int>(simState().log.count(operation.operation));
}

uint64_t simLoggedCallCount() {
    auto lock = lockState();
    return simState().log.logged();
}

uint64_t simDroppedCallCount() {
    auto lock = lockState();
    return simState().log.dropped();
}

void simSetCallLogLimit(size_t calls) {
    auto lock = lockState();
    simState().log.setLimit(calls);
}

bool simFireRecordEvent(uint32_t cameraId) {
    auto lock = lockState();
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
    auto lock = lockState();
    auto found = simState().lateCallbacks.find(cameraId);
    if (found == simState().lateCallbacks.end() || found->second.callback == nullptr) return false;
    const SimLateCallback late = found->second;
    lock.unlock();
    late.callback(late.context, 0, 0);
    return true;
}

bool simFireDiskProgress(uint32_t cameraId, uint32_t current, uint32_t final) {
    auto lock = lockState();
    SimCamera* camera = simState().camera(cameraId);
    SimDevice* device = camera != nullptr && camera->state.open ? simState().device(camera->state.handle) : nullptr;
    if (device == nullptr || device->diskReadCallback == nullptr) return false;
    DiskReadCallback callback = device->diskReadCallback;
    void* context = device->diskReadContext;
    lock.unlock();
    callback(context, current, final);
    return true;
}

bool simDriverLoaded() {
    auto lock = lockState();
    return simState().loaded;
}
