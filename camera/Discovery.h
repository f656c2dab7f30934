// Operations on the driver as a whole: adapter address, PCIe memory,
// enumeration and preloading. None of them touches the camera table.
#ifndef QUORVEL_CAMERA_DISCOVERY_H
#define QUORVEL_CAMERA_DISCOVERY_H

#include "driver/QuorvelDrv.h"
#include "common/ResultCodes.h"

#include <cstdint>

constexpr uint32_t kEnumCapacity = 10;

// The driver's result of the PCIe memory configuration.
uint32_t camInitPCIeMemory(uint32_t value);

// Keeps the parsed address for every later enumeration and open, whatever
// the driver answers; returns the driver's result.
uint32_t camSetNetAdapterIPAddress(const char* text);

// Re-applies the adapter address and enumerates into records. count goes in
// as the capacity and comes back as the records filled, never above the
// capacity. Returns 0, or ResultOpenFailed when the driver fails.
ResultCode camEnumCameras(CameraEnumRecord* records, uint32_t* count, uint32_t filter);

ResultCode camPreLoadDriver(uint32_t first, uint32_t second, uint32_t third);

#endif
