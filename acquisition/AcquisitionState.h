// What the acquisition layer keeps for the module's lifetime: per camera
// slot (same index as the camera table's), the contexts handed to the
// driver's recording and disk-read callbacks and the slot's record of
// recording, transfers and disk reads. All zero when the module is loaded.
#ifndef QUORVEL_ACQUISITION_ACQUISITIONSTATE_H
#define QUORVEL_ACQUISITION_ACQUISITIONSTATE_H

#include "camera/CameraTable.h"
#include "driver/QuorvelDrv.h"

#include <atomic>
#include <cstdint>
#include <mutex>

// Handed to the driver as the recording callback's context. Written by a
// start while an earlier recording's callback may still read it, hence atomic.
struct GrabContext {
    std::atomic<int32_t> cameraId{0};
    std::atomic<uint32_t> segmentArgument{0};
    std::atomic<uint64_t*> segmentTable{nullptr};
};

// Commands run on the host's thread; driver callbacks bump the counters
// and refresh the segment table on driver threads, hence the atomics and
// the table's lock.
struct AcquisitionSlot {
    std::atomic<uint32_t> frameReadyCount{0};
    std::atomic<uint32_t> diskReadCount{0};
    // The disk read's latest report, final count in the high word and
    // current count in the low one, so a reader sees one report whole.
    std::atomic<uint64_t> lastDiskReport{0};
    TransferDescriptor transfer = {};
    // Held only around a refresh of the segment table (recording callback),
    // a read of one entry (readout) and the clearing of the slot.
    std::mutex segmentTableLock;
    uint64_t segmentTable[kSegmentTableEntries] = {};
};

struct AcquisitionState {
    GrabContext grabContexts[kMaxCameras];
    std::atomic<int32_t> diskReadContexts[kMaxCameras] = {};
    AcquisitionSlot slots[kMaxCameras];
};

AcquisitionState& acquisitionState();

// The record kept for the camera table's slot of that index.
AcquisitionSlot& acquisitionSlot(int index);

// The slot's GrabContext names no camera until the next start: a driver
// calling back late (after a successful stop, or after a close) finds no
// camera and touches nothing, even when the same camera is open again.
void detachGrabContext(int index);

// Run by every release of a camera slot: detaches the slot's GrabContext
// and zeroes its record, so the next camera in the slot starts from zero.
void releaseAcquisitionSlot(int index);

// Puts the state back as a fresh load of the module finds it.
void resetAcquisitionState();

#endif
