#include "SimState.h"

#include <algorithm>

SimState::SimState() : cameras(simDefaultCameras()) {}

SimState::~SimState() {
    std::unique_lock<std::mutex> lock(mutex);
    SimWorkers workers = simStopAllDevices(*this);
    simJoinWorkers(lock, workers);
}

SimState& simState() {
    static SimState state;
    return state;
}

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

uint64_t simAddress(const void* pointer) { return reinterpret_cast<uintptr_t>(pointer); }

SimCallGuard::SimCallGuard(SimOperation operation, std::initializer_list<uint64_t> arguments, const char* text)
    : state(simState()), lock(state.mutex) {
    state.log.add(operation, arguments, text);
    forced = state.faults.take(operation, arguments);
}

std::string SimCall::describe() const {
    std::string line = std::string(simOperationName(operation)) + "(";
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) line += ", ";
        line += std::to_string(arguments[i]);
    }
    if (hasText) line += (arguments.empty() ? "\"" : ", \"") + text + "\"";
    return line + ")";
}

SimFrameFault simTakeFrameFault(SimCamera& camera, size_t bytes) {
    SimOverrides& overrides = camera.overrides;
    if (!overrides.partialFrameBytes) return {bytes, 0};
    SimFrameFault fault{std::min<size_t>(bytes, *overrides.partialFrameBytes), overrides.partialFrameResult};
    overrides.partialFrameBytes.reset();
    return fault;
}

void simWriteFrameExcess(unsigned char* destination, size_t bytes) {
    std::fill(destination, destination + bytes, kSimFrameExcessByte);
}

void simFillSettings(uint32_t* settings, const SimCamera& camera, bool extended) {
    settings[1] = camera.config.cameraId;
    settings[2] = kSimSettingsSignature;
    settings[3] = extended ? 1 : 0;
    std::fill(settings + kSimSettingsParameterWords, settings + kSettingsBlockBytes / 4, 0u);
    for (const auto& [number, parameter] : camera.config.parameters)
        simStoreSetting(settings, number, parameter.value);
}

bool simSettingsMatch(const void* settings, const SimCamera& camera) {
    if (settings == nullptr) return false;
    auto* words = static_cast<const uint32_t*>(settings);
    return words[0] == kSettingsBlockBytes && words[1] == camera.config.cameraId && words[2] == kSimSettingsSignature;
}

void simStoreSetting(void* settings, uint32_t parameter, uint32_t value) {
    constexpr uint32_t kParameterSlots = kSettingsBlockBytes / 4 - kSimSettingsParameterWords;
    if (parameter < kParameterSlots) static_cast<uint32_t*>(settings)[kSimSettingsParameterWords + parameter] = value;
}

uint32_t simParameterValue(const SimCamera& camera, uint32_t parameter) {
    auto found = camera.config.parameters.find(parameter);
    return found == camera.config.parameters.end() ? 0 : found->second.value;
}

uint32_t simCameraType(const SimCamera& camera) {
    auto found = camera.config.info.find(kSimInfoCameraType);
    return found == camera.config.info.end() ? 0 : found->second;
}
