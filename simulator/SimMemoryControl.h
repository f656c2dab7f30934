// Control of camera memory: its size and rates, waiting for the recording
// and disk-read threads, and the recording and disk-read callbacks called
// on demand.
#ifndef QUORVEL_SIMULATOR_SIMMEMORYCONTROL_H
#define QUORVEL_SIMULATOR_SIMMEMORYCONTROL_H

#include <cstdint>

// Sets the memory size and the two rates; false when no camera has the id.
bool simSetMemory(uint32_t cameraId, uint32_t capacity, uint32_t recordingRate, uint32_t diskReadRate);
// Waits until the camera records no more (or the time is up); true when idle.
bool simWaitForRecording(uint32_t cameraId, int timeoutMilliseconds);
// Whether the camera's recording runs without a thread of its own (0
// frames per second): only simFireRecordEvent records its frames.
bool simRecordingAwaitsEvents(uint32_t cameraId);
// Waits until the camera's disk read has placed its last frame and reported.
bool simWaitForDiskRead(uint32_t cameraId, int timeoutMilliseconds);

// Records the next frame of the camera's running recording, if one runs,
// and calls the recording callback that drvStartRecording registered, on
// the calling thread; false when none is registered (or it was stopped).
bool simFireRecordEvent(uint32_t cameraId);
// Calls the recording callback that the camera's last drvStartRecording
// registered, with event and detail 0, even after the recording was stopped
// or the camera closed: a driver calling back late. False when the camera
// has not recorded since simReset or the last drvUnload (after which the
// module that registered the callback may be gone).
bool simFireLateRecordEvent(uint32_t cameraId);
// Calls the disk-read callback that drvReadFromDisk registered for the camera.
bool simFireDiskProgress(uint32_t cameraId, uint32_t current, uint32_t final);

#endif
