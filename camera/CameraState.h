// What the camera layer keeps for the module's lifetime besides the camera
// table (which CameraTable.cpp holds): the network adapter address, all
// ones when the module is loaded.
#ifndef QUORVEL_CAMERA_CAMERASTATE_H
#define QUORVEL_CAMERA_CAMERASTATE_H

#include <cstdint>

constexpr uint32_t kDefaultInterfaceAddress = 0xFFFFFFFFu;

struct CameraState {
    uint32_t interfaceAddress = kDefaultInterfaceAddress;
    uint32_t lastOpenSerial = 0;
};

CameraState& cameraState();

// Puts the address and the camera table back as a fresh load of the module
// finds them.
void resetCameraState();

#endif
