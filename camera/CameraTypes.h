// The camera types (information item 0) the module branches on.
#ifndef QUORVEL_CAMERA_CAMERATYPES_H
#define QUORVEL_CAMERA_CAMERATYPES_H

#include "driver/QuorvelDrv.h"

#include <cstdint>

// A mono camera of this type delivers 8-bit mono only.
constexpr uint32_t kMonoOnlyCameraType = 2;

// Types 12 to 14 record into memory that is reset before each recording
// and at open, and take four bytes per pixel in live frame buffers.
inline bool isMemoryResetType(uint32_t cameraType) { return cameraType >= 12 && cameraType <= 14; }

// Types 18 to 20 record in segments whose positions fill the segment table.
inline bool isSegmentedType(uint32_t cameraType) { return cameraType >= 18 && cameraType <= 20; }

// Item 0 as the driver reports it, its result not examined: a failed read
// gives 0, a type that neither resets, records in segments nor is mono-only.
uint32_t readCameraType(DeviceHandle handle);

#endif
