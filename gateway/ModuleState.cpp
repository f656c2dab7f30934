#include "ModuleState.h"

#include "acquisition/AcquisitionState.h"
#include "acquisition/ConversionHelper.h"
#include "camera/CameraState.h"
#include "common/FrameBuffer.h"

namespace {
ModuleState state;
}

ModuleState& moduleState() { return state; }

void resetModuleState() {
    state.exitHookRegistered = false;
    state.driverLoaded = false;
    resetCameraState();
    resetAcquisitionState();
    releaseRecycledFrameBuffers();
    stopConversionHelper();
}
