#include "SimState.h"

SimState::SimState() : cameras(simDefaultCameras()) {}

SimState::~SimState() {
    std::unique_lock<std::mutex> lock(mutex);
    SimWorkers workers = stopAllDevices();
    simJoinWorkers(lock, workers);
}

SimState& simState() {
    static SimState state;
    return state;
}

std::unique_lock<std::mutex> simLockState() { return std::unique_lock<std::mutex>(simState().mutex); }

SimCamera* SimState::camera(uint32_t cameraId) {
    for (SimCamera& candidate : cameras)
        if (candidate.config.cameraId == cameraId) return &candidate;
    return nullptr;
}

SimCamera* SimState::cameraByHandle(DeviceHandle handle) {
    for (SimCamera& candidate : cameras)
        if (candidate.state.open && candidate.state.handle == handle) return &candidate;
    return nullptr;
}

SimDevice* SimState::device(DeviceHandle handle) {
    auto found = devices.find(handle);
    return found == devices.end() ? nullptr : &found->second;
}

SimWorkers SimState::stopDevice(DeviceHandle handle) {
    SimDevice* stopped = device(handle);
    if (stopped == nullptr) return {};
    SimWorkers workers = stopped->stopThreads();
    if (SimCamera* open = cameraByHandle(handle)) {
        open->state.memory.recording = false;
        open->state.memory.diskReading = false;
    }
    return workers;
}

SimWorkers SimState::stopAllDevices() {
    SimWorkers workers;
    for (auto& entry : devices) {
        SimWorkers taken = stopDevice(entry.first);
        workers.insert(workers.end(), taken.begin(), taken.end());
    }
    return workers;
}
