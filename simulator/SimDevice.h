// What the driver keeps per open device beyond the camera's own record:
// its callbacks, and its recording into camera memory and read-back from
// disk with their threads.
#ifndef QUORVEL_SIMULATOR_SIMDEVICE_H
#define QUORVEL_SIMULATOR_SIMDEVICE_H

#include "SimWorker.h"
#include "driver/QuorvelDrv.h"

#include <cstdint>
#include <memory>
#include <vector>

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

struct SimDevice {
    RecordingCallback recordingCallback = nullptr;
    void* recordingContext = nullptr;
    DiskReadCallback diskReadCallback = nullptr;
    void* diskReadContext = nullptr;
    SimRecordingRun recording;
    SimDiskRead diskRead;

    // Ends the recording and the disk read: asks their threads to stop and
    // hands them over, to be joined with the simulator's lock released.
    SimWorkers stopThreads();
};

#endif
