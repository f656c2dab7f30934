// Driver start-up and shut-down, configuration, enumeration, opening and
// closing cameras.
#include "SimCallGuard.h"
#include "SimResults.h"

#include <algorithm>
#include <cstring>

extern "C" {
QUORVEL_DRV_API extern const char quorvelSimulatedDriver[];
const char quorvelSimulatedDriver[] = "simulated cameras";
}
static_assert(sizeof QUORVEL_SIMULATOR_MARKER == sizeof "quorvelSimulatedDriver", "the marker names this symbol");

namespace {

// Forgets an open camera's device; a raw camera leaves the set.
void closeDevice(SimState& state, SimCamera& camera) {
    state.devices.erase(camera.state.handle);
    camera.state.open = false;
    camera.state.handle = 0;
    if (camera.state.raw) {
        auto& cameras = state.cameras;
        cameras.erase(std::remove_if(cameras.begin(), cameras.end(),
                                     [&](const SimCamera& candidate) { return &candidate == &camera; }),
                      cameras.end());
    }
}

DeviceHandle openDevice(SimState& state, SimCamera& camera) {
    camera.state.open = true;
    camera.state.handle = state.nextHandle++;
    state.devices[camera.state.handle] = SimDevice{};
    return camera.state.handle;
}

}  // namespace

uint32_t drvLoad(uint32_t zero) {
    SimCallGuard call(SimOperation::drvLoad, {zero});
    if (call.forced) return *call.forced;
    call.state.loaded = true;
    return 0;
}

uint32_t drvUnload(void) {
    SimCallGuard call(SimOperation::drvUnload, {});
    if (call.forced) return *call.forced;
    // The module that registered the callbacks may be gone after this call.
    SimWorkers workers = call.state.stopAllDevices();
    simJoinWorkers(call.lock, workers);
    for (SimCamera& camera : call.state.cameras) {
        camera.state.open = false;
        camera.state.handle = 0;
    }
    auto& cameras = call.state.cameras;
    cameras.erase(std::remove_if(cameras.begin(), cameras.end(), [](const SimCamera& c) { return c.state.raw; }),
                  cameras.end());
    call.state.devices.clear();
    call.state.lateCallbacks.clear();
    call.state.loaded = false;
    return 0;
}

uint32_t drvPreLoad(uint32_t first, uint32_t second, uint32_t third) {
    SimCallGuard call(SimOperation::drvPreLoad, {first, second, third});
    return call.forced.value_or(0);
}

uint32_t drvConfigure(uint32_t zero, uint32_t option, uint32_t value, uint32_t reserved) {
    SimCallGuard call(SimOperation::drvConfigure, {zero, option, value, reserved});
    if (call.forced) return *call.forced;
    if (!call.state.loaded) return kSimErrorNotLoaded;
    return option == kConfigureNetworkAddress || option == kConfigurePCIeMemory ? 0 : kSimErrorUnknownItem;
}

uint32_t drvEnumCameras(CameraEnumRecord* records, uint32_t* count, uint32_t filter) {
    SimCallGuard call(SimOperation::drvEnumCameras, {simAddress(records), simAddress(count), filter});
    if (call.forced) return *call.forced;
    if (!call.state.loaded) return kSimErrorNotLoaded;
    uint32_t capacity = *count;
    uint32_t filled = 0;
    for (const SimCamera& camera : call.state.cameras) {
        if (camera.state.raw || filled == capacity) continue;
        CameraEnumRecord& record = records[filled++];
        std::memset(&record, 0, sizeof record);
        record.cameraId = camera.config.cameraId;
        record.inUse = camera.config.inUse != 0 || camera.state.open ? 1 : 0;
    }
    *count = call.state.reportedEnumCount.value_or(filled);
    return 0;
}

uint32_t drvOpenCamera(uint32_t cameraId, DeviceHandle* handle) {
    SimCallGuard call(SimOperation::drvOpenCamera, {cameraId, simAddress(handle)});
    if (call.forced) return *call.forced;
    if (!call.state.loaded) return kSimErrorNotLoaded;
    SimCamera* camera = call.state.camera(cameraId);
    if (camera == nullptr || camera->state.raw) return kSimErrorNoCamera;
    if (camera->state.open || camera->config.inUse != 0) return kSimErrorBusy;
    *handle = openDevice(call.state, *camera);
    return 0;
}

uint32_t drvOpenRawCamera(const char* text, DeviceHandle* handle) {
    SimCallGuard call(SimOperation::drvOpenRawCamera, {simAddress(handle)}, text);
    if (call.forced) return *call.forced;
    if (!call.state.loaded) return kSimErrorNotLoaded;
    if (text == nullptr || text[0] == '\0') return kSimErrorNoCamera;
    for (const SimCamera& camera : call.state.cameras)
        if (camera.state.raw && camera.state.rawSource == text) return kSimErrorBusy;
    SimCamera camera = simMakeCamera(0, kSimRawCameraType, true);
    camera.state.raw = true;
    camera.state.rawSource = text;
    call.state.cameras.push_back(camera);
    *handle = openDevice(call.state, call.state.cameras.back());
    return 0;
}

uint32_t drvCloseCamera(DeviceHandle handle) {
    SimCallGuard call(SimOperation::drvCloseCamera, {handle});
    if (call.forced) return *call.forced;
    if (call.camera(handle) == nullptr) return kSimErrorNoCamera;
    // No callback for the camera runs once the close has returned.
    SimWorkers workers = call.state.stopDevice(handle);
    simJoinWorkers(call.lock, workers);
    SimCamera* camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    closeDevice(call.state, *camera);
    return 0;
}

uint32_t drvStopCapture(DeviceHandle handle) {
    SimCallGuard call(SimOperation::drvStopCapture, {handle});
    if (call.forced) return *call.forced;
    SimCamera* camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    ++camera->counters.captureStops;
    return 0;
}
