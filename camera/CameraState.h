// What the camera layer keeps for the module's lifetime: the camera table
// and the network adapter address. All zero (the address all ones) when
// the module is loaded.
#ifndef QUORVEL_CAMERA_CAMERASTATE_H
#define QUORVEL_CAMERA_CAMERASTATE_H

#include "CameraTable.h"

#include <cstdint>

constexpr uint32_t kDefaultInterfaceAddress = 0xFFFFFFFFu;

struct CameraState {
    uint32_t interfaceAddress = kDefaultInterfaceAddress;
    CameraTable cameraTable;
};

CameraState& cameraState();

// Puts the state back as a fresh load of the module finds it.
void resetCameraState();

#endif
