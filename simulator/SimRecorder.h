// A recording's frames entering camera memory, one at a time: from the
// recording thread's ticks, or from simFireRecordEvent.
#ifndef QUORVEL_SIMULATOR_SIMRECORDER_H
#define QUORVEL_SIMULATOR_SIMRECORDER_H

#include "SimState.h"

#include <cstdint>

// A frame recorded, and the callback to tell about it.
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

// Marks the recording ended, for the device and for the camera's memory.
void simEndRecording(SimCamera& camera, SimDevice& device);

#endif
