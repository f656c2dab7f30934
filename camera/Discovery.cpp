#include "Discovery.h"

#include "CameraState.h"
#include "DottedAddress.h"

#include <algorithm>

uint32_t camInitPCIeMemory(uint32_t value) { return drvConfigure(0, kConfigurePCIeMemory, value, 0); }

uint32_t camSetNetAdapterIPAddress(const char* text) {
    cameraState().interfaceAddress = ParseDottedAddress(text);
    return drvConfigure(0, kConfigureNetworkAddress, cameraState().interfaceAddress, 0);
}

ResultCode camEnumCameras(CameraEnumRecord* records, uint32_t* count, uint32_t filter) {
    const uint32_t capacity = *count;
    drvConfigure(0, kConfigureNetworkAddress, cameraState().interfaceAddress, 0);
    uint32_t result = drvEnumCameras(records, count, filter);
    // A driver that reports more records than it was given room for has
    // filled no more than the room.
    *count = std::min(*count, capacity);
    return resultOf(result, ResultOpenFailed);
}

ResultCode camPreLoadDriver(uint32_t first, uint32_t second, uint32_t third) {
    return resultOf(drvPreLoad(first, second, third), ResultValueRejected);
}
