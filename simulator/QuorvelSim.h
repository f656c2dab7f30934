// Control API of the simulated QuorvelDrv: simulated cameras that tests and
// users without hardware drive through the ordinary driver interface.
//
// The simulator keeps a set of cameras (reset to the default set, see
// SimCamera.h), logs the most recent driver calls with their arguments and
// counts every call, and can force any operation's result: a forced call
// returns the forced value at once and has no effect, so a forced 0 is a
// success that did nothing. All functions are safe to call from any thread.
// The control functions are grouped by what they control, one header each.
#ifndef QUORVEL_SIMULATOR_QUORVELSIM_H
#define QUORVEL_SIMULATOR_QUORVELSIM_H

#include "SimCall.h"
#include "SimCallLogControl.h"
#include "SimCamera.h"
#include "SimCameraControl.h"
#include "SimFaultControl.h"
#include "SimFrames.h"
#include "SimLifetimeControl.h"
#include "SimMemoryControl.h"
#include "SimOperations.h"
#include "SimResults.h"

// Camera memory: recording, readout, transfers.
// Every camera has a memory of memoryCapacity frames; a frame in memory is
// its frame number (numbered on from framesDelivered, like live grabs), and
// drvReadMemory renders it (SimFrames.h, readout kind) at the camera's
// current W, H and PixelFormat. Positions count frames from 0.
//
// drvStartRecording(handle, frames, trigger, segmentArgument, interval, ...)
// records `frames` frames (0: until the memory is full) from position 0 on,
// one every 1/recordingRate s on a recording thread, and calls the
// recording callback on that thread (event: frame number, detail: position)
// after every `interval`-th frame (0 counts as 1) and after the last. The
// trigger falls on frame `trigger` of the recording (the last one when
// beyond). Cameras of types 18 to 20 record min(segmentArgument + 1,
// frames, kSegmentTableEntries) segments of equal length; each segment's
// first position enters the segment table when it begins. recordingRate
// 0 records a frame only on simFireRecordEvent.
//
// drvReset ends a running recording and disk read (no callback of theirs
// runs after it) and forgets the trigger; the recorded frames stay.
// drvEraseMemory does the same and empties the memory.
//
// drvDownloadRawFrame(handle, file, positionLow, positionHigh, count, -, -)
// writes `count` frames (0 counts as 1) from the position on into the file
// (format in SimRecordingFile.h) and makes it the camera's disk file.
// drvReadFromDisk(handle, first, count, position, interval, -, -, ...)
// reads frames first.. of the disk file (count 0: to its end) back into
// memory from `position` on, one every 1/diskReadRate s (0: no pause) on
// a disk thread, reporting (frames placed, count) after every
// `interval`-th frame and after the last, possibly after the call returned.

#endif
