// Raw-frame download and read-back from disk: one driver call each, the
// numbers and the text passed through unchanged; the disk read reports its
// progress through onDiskReadProgress, possibly after the command returned.
#ifndef QUORVEL_ACQUISITION_TRANSFERS_H
#define QUORVEL_ACQUISITION_TRANSFERS_H

#include "common/ResultCodes.h"

#include <cstdint>

// The five numbers of a transfer command after its second input.
struct TransferNumbers {
    uint32_t values[5];
};

// drvDownloadRawFrame with the text and the numbers. Answers 0 or
// ResultDownloadFailed (also, without a driver call, for an id no open
// camera carries and for a text that names something other than a
// regular file, which the driver's open would block on or write into).
ResultCode camDownloadRawFrame(int32_t cameraId, const char* text, const TransferNumbers& numbers);

// Clears the camera's disk-read count and latest report, issues the slot a
// new disk-read ticket, then calls drvReadFromDisk with
// `first`, the numbers, onDiskReadProgress and that word. Answers 0 or ResultReadFailed (also for
// an id no open camera carries, then touching no count or context word).
ResultCode camReadFromDisk(int32_t cameraId, uint32_t first, const TransferNumbers& numbers);

// The disk-read callback, run on a driver thread: keeps every report as
// the camera's latest, and a report whose current count has reached the
// final count (unsigned) adds 1 to the disk-read count of the camera the
// context names; a context of any read but the slot's current one (a camera
// closed, or another in its slot) is left alone. Never calls the host.
uint32_t onDiskReadProgress(void* context, uint32_t current, uint32_t final);

// How far the camera's disk read has come, read without a driver call.
struct DiskReadProgress {
    uint32_t finishedReports;  // reports that reached the final count
    uint32_t current;          // the latest report's counts; 0 before any
    uint32_t final;
};

// Answers 0, or ResultReadFailed (progress all 0) for an id no open camera
// carries.
ResultCode camDiskReadProgress(int32_t cameraId, DiskReadProgress& progress);

#endif
