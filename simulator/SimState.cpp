#include "SimState.h"

#include <algorithm>
#include <cstdio>

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
        if (candidate.cameraId == cameraId) return &candidate;
    return nullptr;
}

SimCamera* SimState::cameraByHandle(DeviceHandle handle) {
    for (SimCamera& candidate : cameras)
        if (candidate.open && candidate.handle == handle) return &candidate;
    return nullptr;
}

SimDevice* SimState::device(DeviceHandle handle) {
    auto found = devices.find(handle);
    return found == devices.end() ? nullptr : &found->second;
}

uint64_t simAddress(const void* pointer) { return reinterpret_cast<uintptr_t>(pointer); }

namespace {

// Counts the call against the schedule under key; its value when this call
// is one the schedule forces.
std::optional<uint32_t> takeForced(SimState& state, const std::string& key) {
    auto found = state.forced.find(key);
    if (found == state.forced.end()) return std::nullopt;
    SimForcedResult& schedule = found->second;
    if (schedule.skip > 0) {
        --schedule.skip;
        return std::nullopt;
    }
    uint32_t value = schedule.value;
    if (schedule.remaining != kSimForever && --schedule.remaining == 0) state.forced.erase(found);
    return value;
}

// The result of the first argument fault that matches the call.
std::optional<uint32_t> takeArgumentFault(SimState& state, const char* operation,
                                          std::initializer_list<uint64_t> arguments) {
    auto& faults = state.argumentFaults;
    for (auto fault = faults.begin(); fault != faults.end(); ++fault) {
        if (fault->operation != operation || fault->argument >= arguments.size() ||
            arguments.begin()[fault->argument] != fault->value)
            continue;
        uint32_t result = fault->result;
        if (fault->remaining != kSimForever && --fault->remaining == 0) faults.erase(fault);
        return result;
    }
    return std::nullopt;
}

}  // namespace

SimCallGuard::SimCallGuard(const char* operation, std::initializer_list<uint64_t> arguments, const char* text)
    : state(simState()), lock(state.mutex) {
    state.log.add(operation, arguments, text);
    // Both schedules count the call; the operation's own one wins.
    std::optional<uint32_t> own = takeForced(state, operation);
    std::optional<uint32_t> any = takeForced(state, kSimAnyOperation);
    forced = own ? own : any;
    if (!forced) forced = takeArgumentFault(state, operation, arguments);
    if (forced) ++state.forcedCalls;
}

std::string SimCall::describe() const {
    std::string line = operation + "(";
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) line += ", ";
        line += std::to_string(arguments[i]);
    }
    if (hasText) line += (arguments.empty() ? "\"" : ", \"") + text + "\"";
    return line + ")";
}

SimFrameFault simTakeFrameFault(SimCamera& camera, size_t bytes) {
    if (!camera.partialFrameBytes) return {bytes, 0};
    SimFrameFault fault{std::min<size_t>(bytes, *camera.partialFrameBytes), camera.partialFrameResult};
    camera.partialFrameBytes.reset();
    return fault;
}

void simWriteFrameExcess(unsigned char* destination, size_t bytes) {
    std::fill(destination, destination + bytes, kSimFrameExcessByte);
}

void simFillSettings(uint32_t* settings, const SimCamera& camera, bool extended) {
    settings[1] = camera.cameraId;
    settings[2] = kSimSettingsSignature;
    settings[3] = extended ? 1 : 0;
    for (uint32_t word = 4; word < kSettingsBlockBytes / 4; ++word) settings[word] = camera.cameraId * 31 + word;
}

bool simSettingsMatch(const void* settings, const SimCamera& camera) {
    if (settings == nullptr) return false;
    auto* words = static_cast<const uint32_t*>(settings);
    return words[0] == kSettingsBlockBytes && words[1] == camera.cameraId && words[2] == kSimSettingsSignature;
}
