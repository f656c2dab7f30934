// The guard every driver operation opens with: it takes the simulator's
// lock, logs the call and reports a forced result.
#ifndef QUORVEL_SIMULATOR_SIMCALLGUARD_H
#define QUORVEL_SIMULATOR_SIMCALLGUARD_H

#include "SimState.h"

#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <optional>

// A pointer argument as the log keeps it.
uint64_t simAddress(const void* pointer);

// Opened first in every driver operation; holds the lock for the call.
class SimCallGuard {
public:
    SimCallGuard(SimOperation operation, std::initializer_list<uint64_t> arguments, const char* text = nullptr);

    SimState& state;
    std::unique_lock<std::mutex> lock;
    std::optional<uint32_t> forced;  // set when the result is forced

    // The open camera of the handle, or nullptr.
    SimCamera* camera(DeviceHandle handle) { return state.cameraByHandle(handle); }
};

#endif
