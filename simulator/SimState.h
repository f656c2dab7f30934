// The simulator's state: its cameras, the devices open on them, the call
// log, the fault schedules, and the lock every driver and control call
// holds while it reads or changes them.
#ifndef QUORVEL_SIMULATOR_SIMSTATE_H
#define QUORVEL_SIMULATOR_SIMSTATE_H

#include "SimCallLog.h"
#include "SimCamera.h"
#include "SimDevice.h"
#include "SimFaultSchedules.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

// The recording callback a camera last registered, kept past stop and close.
struct SimLateCallback {
    RecordingCallback callback = nullptr;
    void* context = nullptr;
};

struct SimState {
    SimState();
    ~SimState();  // stops and joins every device's threads first

    std::mutex mutex;
    bool loaded = false;
    std::vector<SimCamera> cameras;  // enumeration order; raw cameras included
    std::map<DeviceHandle, SimDevice> devices;
    SimCallLog log;
    SimFaultSchedules faults;
    std::map<uint32_t, SimLateCallback> lateCallbacks;  // by camera id
    std::optional<uint32_t> reportedEnumCount;
    DeviceHandle nextHandle = 0x100;

    SimCamera* camera(uint32_t cameraId);
    SimCamera* cameraByHandle(DeviceHandle handle);
    SimDevice* device(DeviceHandle handle);

    // Ends the device's recording and disk read, or those of every device,
    // and hands their threads over. Call with the lock held, then
    // simJoinWorkers.
    SimWorkers stopDevice(DeviceHandle handle);
    SimWorkers stopAllDevices();
};

SimState& simState();
// Holds the simulator's lock, for a control call.
std::unique_lock<std::mutex> simLockState();

#endif
