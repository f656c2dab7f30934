// What the acquisition layer keeps for the module's lifetime: per camera
// slot (same index as the camera table's), the contexts handed to the
// driver's recording and disk-read callbacks. All zero when the module is
// loaded.
#ifndef QUORVEL_ACQUISITION_ACQUISITIONSTATE_H
#define QUORVEL_ACQUISITION_ACQUISITIONSTATE_H

#include "camera/CameraTable.h"

#include <atomic>
#include <cstdint>

// Handed to the driver as the recording callback's context. Written by a
// start while an earlier recording's callback may still read it, hence atomic.
struct GrabContext {
    std::atomic<int32_t> cameraId{0};
    std::atomic<uint32_t> segmentArgument{0};
    std::atomic<uint64_t*> segmentTable{nullptr};
};

struct AcquisitionState {
    GrabContext grabContexts[kMaxCameras];
    std::atomic<int32_t> diskReadContexts[kMaxCameras] = {};
};

AcquisitionState& acquisitionState();

// The slot's GrabContext names no camera until the next start: a driver
// calling back late (after a successful stop, or after a close) finds no
// camera and touches nothing, even when the same camera is open again.
// Every release of a camera slot runs it.
void detachGrabContext(int index);

// Puts the state back as a fresh load of the module finds it.
void resetAcquisitionState();

#endif
