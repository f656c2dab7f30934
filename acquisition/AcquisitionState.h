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

// What the driver is handed as a callback's context: no address, but the
// slot's index and the ticket of the start (or disk read) it was handed
// for. The slot keeps the ticket of its current one only, so a callback
// that carries another (an earlier start, an earlier open of the same
// camera, or a camera that held the slot before) counts for nobody.
// Tickets grow with the steady clock, so none comes back in the process,
// even across loads of the module.
void* callbackContext(int index, uint64_t ticket);

// Commands run on the host's thread; driver callbacks bump the counters
// and refresh the segment table on driver threads, hence the atomics and
// the table's lock.
struct AcquisitionSlot {
    // The current recording's and disk read's tickets; 0 when none may count.
    std::atomic<uint64_t> recordingTicket{0};
    std::atomic<uint64_t> diskReadTicket{0};
    std::atomic<uint32_t> segmentArgument{0};  // the current recording's
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
    AcquisitionSlot slots[kMaxCameras];
    uint64_t lastTicket = 0;
};

AcquisitionState& acquisitionState();

// The record kept for the camera table's slot of that index.
AcquisitionSlot& acquisitionSlot(int index);

// A new ticket as the slot's current recording's (or disk read's), and
// the context that carries it.
void* issueRecordingContext(int index);
void* issueDiskReadContext(int index);

// The slot index a context names while its ticket is that slot's current
// one of the kind; else kNoSlot.
int recordingSlotOf(void* context);
int diskReadSlotOf(void* context);

// No recording callback counts for the slot until the next start: a driver
// calling back late (after a successful stop, or after a close) touches
// nothing, even when the same camera is open again.
void detachGrabContext(int index);

// Run by every release of a camera slot: detaches both callbacks' tickets
// and zeroes its record, so the next camera in the slot starts from zero.
void releaseAcquisitionSlot(int index);

// Puts the state back as a fresh load of the module finds it.
void resetAcquisitionState();

#endif
