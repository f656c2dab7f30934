// The gateway's flag, kept for the module's lifetime, and the one
// reset that puts every layer back as a fresh load of the module finds it.
// The camera table and the adapter address are the camera layer's
// (camera/CameraState.h), whether the driver is loaded the host session's
// (acquisition/HostSession.h), the callbacks' contexts and each slot's record
// of recording and transfers the acquisition layer's
// (acquisition/AcquisitionState.h).
#ifndef QUORVEL_GATEWAY_MODULESTATE_H
#define QUORVEL_GATEWAY_MODULESTATE_H

struct ModuleState {
    bool exitHookRegistered = false;
};

ModuleState& moduleState();

// Puts the state of every layer back as a fresh load of the module finds
// it and gives the recycled frame buffers back to the heap. For tests,
// which need a fresh module per case.
void resetModuleState();

#endif
