// What a simulated device keeps while it records into camera memory or
// reads a recording back from disk, and the helpers that stop its threads.
#ifndef QUORVEL_SIMULATOR_SIMRECORDING_H
#define QUORVEL_SIMULATOR_SIMRECORDING_H

#include "SimWorker.h"
#include "driver/QuorvelDrv.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

struct SimState;
struct SimDevice;
struct SimCamera;

// One recording, from drvStartRecording until its last frame or its stop.
struct SimRecordingRun {
    bool active = false;
    uint32_t framesToRecord = 0;
    uint32_t eventInterval = 1;   // frames per recording event
    uint32_t triggerFrame = 0;    // frame of the recording the trigger falls on
    bool segmented = false;
    uint32_t segmentCount = 0;
    uint32_t segmentFrames = 1;   // frames per segment
    std::shared_ptr<SimWorker> recorder;  // null when frames come from simFireRecordEvent
};

// One read-back from disk into camera memory.
struct SimDiskRead {
    bool active = false;
    std::vector<uint32_t> frames;  // frame numbers still to place, from the file
    uint32_t placed = 0;
    uint32_t position = 0;         // memory position of the first frame
    uint32_t reportInterval = 1;   // frames per progress report; the last always reports
    std::shared_ptr<SimWorker> reader;
};

// A frame recorded on a tick, and the callback to tell about it.
struct SimRecordEvent {
    RecordingCallback callback = nullptr;
    void* context = nullptr;
    uint32_t frameNumber = 0;
    uint32_t position = 0;
    bool report = false;  // the event interval is reached, or the recording ended
};

// Records the next frame of the device's running recording; false when none
// runs. Call with the simulator's lock held.
bool simRecordFrame(SimState& state, DeviceHandle handle, SimRecordEvent& event);

// Ends the device's recording and disk read, or those of every device:
// asks their threads to stop and hands them over. Call with the lock held,
// then simJoinWorkers.
SimWorkers simStopDevice(SimState& state, DeviceHandle handle);
SimWorkers simStopAllDevices(SimState& state);

// Joins the workers with the lock released and takes it again: whatever the
// caller found before must be looked up afresh.
void simJoinWorkers(std::unique_lock<std::mutex>& lock, SimWorkers& workers);

#endif
