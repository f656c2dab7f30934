#include "SimLifetimeControl.h"

#include "SimState.h"

void simReset() {
    auto lock = simLockState();
    SimState& state = simState();
    SimWorkers workers = state.stopAllDevices();
    simJoinWorkers(lock, workers);
    state.cameras = simDefaultCameras();
    state.devices.clear();
    state.log.clear();
    state.log.setLimit(kSimCallLogLimit);
    state.faults = SimFaultSchedules{};
    state.lateCallbacks.clear();
    state.reportedEnumCount.reset();
}

bool simDriverLoaded() {
    auto lock = simLockState();
    return simState().loaded;
}
