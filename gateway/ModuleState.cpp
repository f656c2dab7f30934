#include "ModuleState.h"

#include "acquisition/FrameBuffer.h"

namespace {
ModuleState state;
}

ModuleState& moduleState() { return state; }

void resetModuleState() {
    state.exitHookRegistered = false;
    state.driverLoaded = false;
    state.interfaceAddress = kDefaultInterfaceAddress;
    clearCameraTable(state.cameraTable);
    releaseRecycledFrameBuffers();
}
