// Recording into camera memory: start, stop, the ready poll, the trigger
// position, and the callback through which the driver reports recording
// events on its own thread.
#ifndef QUORVEL_ACQUISITION_RECORDING_H
#define QUORVEL_ACQUISITION_RECORDING_H

#include "common/ResultCodes.h"

#include <cstdint>

// The constant drvStartRecording takes after the callback.
constexpr uint32_t kRecordingCallbackMode = 1;

// Clears the ready count, resets cameras of types 12 to 14 (a failed reset
// answers ResultResetFailed and starts nothing), issues the slot a new
// recording ticket and only then starts the recording with onRecordEvent;
// a start the driver refuses gives the ticket back to the recording that
// ran before it.
// Answers 0, ResultResetFailed or ResultGrabFailed.
ResultCode camStartGrab(int32_t cameraId, uint32_t first, uint32_t second, uint32_t segmentArgument,
                        uint32_t fourth);

// Stops the recording; only a successful stop clears the ready count and
// detaches the recording ticket, so that a late callback counts nothing.
// Answers 0 or ResultStopFailed.
ResultCode camStopGrab(int32_t cameraId);

// *ready is 1 once a recording event has arrived since the camera was
// opened or since the last start or successful stop, else 0. No driver
// call. Always answers 0.
ResultCode camGrabIsReady(int32_t cameraId, uint32_t* ready);

// The recording events counted since the camera was opened or since the
// last start or successful stop (the count GrabIsReady tests); 0 for an id
// no open camera carries. No driver call.
uint32_t camFrameReadyCount(int32_t cameraId);

// The driver's third and fourth trigger-position values into *first and
// *second. Answers 0 or ResultTriggerPositionFailed.
ResultCode camReadTriggerPosition(int32_t cameraId, uint32_t* first, uint32_t* second);

// The recording callback, run on a driver thread with the context given
// at start. Raises the camera's ready count, then, for camera types 18 to
// 20, clears the segment table and has the driver refill it. A context of
// any start but the slot's current one touches nothing. Never calls the host.
uint32_t onRecordEvent(void* context, uint32_t event, uint32_t detail);

// The entry count the callback asks the driver for: segmentArgument + 1,
// never more than the table holds.
uint32_t segmentEntriesFor(uint32_t segmentArgument);

#endif
