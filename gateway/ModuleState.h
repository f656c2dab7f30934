// Everything the module keeps for its lifetime, in one place: the gateway's
// two flags, the camera table with its side arrays, and the network adapter
// address. All zero (the address all ones) when the module is loaded.
#ifndef QUORVEL_GATEWAY_MODULESTATE_H
#define QUORVEL_GATEWAY_MODULESTATE_H

#include "camera/CameraTable.h"

#include <cstdint>

constexpr uint32_t kDefaultInterfaceAddress = 0xFFFFFFFFu;

struct ModuleState {
    bool exitHookRegistered = false;
    bool driverLoaded = false;
    uint32_t interfaceAddress = kDefaultInterfaceAddress;
    CameraTable cameraTable;
};

ModuleState& moduleState();

// Puts the state back as a fresh load of the module finds it and gives the
// recycled frame buffers back to the heap. For tests, which need a fresh
// module per case.
void resetModuleState();

#endif
