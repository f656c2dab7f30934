// The simulator's internal state and the guard every driver operation opens
// with: it takes the lock, logs the call and reports a forced result.
#ifndef QUORVEL_SIMULATOR_SIMSTATE_H
#define QUORVEL_SIMULATOR_SIMSTATE_H

#include "QuorvelSim.h"
#include "SimCallLog.h"
#include "SimFaults.h"
#include "SimRecording.h"

#include <cstdint>
#include <initializer_list>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

// The recording callback a camera last registered, kept past stop and close.
struct SimLateCallback {
    RecordingCallback callback = nullptr;
    void* context = nullptr;
};

// What the driver keeps per open device beyond the camera's own record.
struct SimDevice {
    RecordingCallback recordingCallback = nullptr;
    void* recordingContext = nullptr;
    DiskReadCallback diskReadCallback = nullptr;
    void* diskReadContext = nullptr;
    SimRecordingRun recording;
    SimDiskRead diskRead;
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
};

// The frame-writing calls' faults: how many of `bytes` frame bytes to write,
// and the result to answer afterwards (0: none). Consumes a partial-frame
// fault of the camera.
struct SimFrameFault {
    size_t writable;
    uint32_t result;
};
SimFrameFault simTakeFrameFault(SimCamera& camera, size_t bytes);

// Fills what a frame-writing call writes beyond the frame's own bytes.
void simWriteFrameExcess(unsigned char* destination, size_t bytes);

SimState& simState();

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

// The default cameras, in enumeration order.
std::vector<SimCamera> simDefaultCameras();

// Fills a settings record for the camera, keeping word 0.
void simFillSettings(uint32_t* settings, const SimCamera& camera, bool extended);
// True when the record was filled for this camera by a settings load.
bool simSettingsMatch(const void* settings, const SimCamera& camera);
// Keeps a parameter's value in the record, where the record has a word for it.
void simStoreSetting(void* settings, uint32_t parameter, uint32_t value);

// The value of the camera's parameter; 0 when it has none.
uint32_t simParameterValue(const SimCamera& camera, uint32_t parameter);
// The camera's information item 0.
uint32_t simCameraType(const SimCamera& camera);

#endif
