#include "ModuleState.h"

#include "acquisition/AcquisitionState.h"
#include "acquisition/ConversionHelper.h"
#include "acquisition/HostSession.h"
#include "camera/CameraState.h"
#include "common/FrameBuffer.h"

namespace {
ModuleState state;
}

ModuleState& moduleState() { return state; }

void resetModuleState() {
    state.exitHookRegistered = false;
    forgetLoadedDriver();
    resetCameraState();
    resetAcquisitionState();
    releaseRecycledFrameBuffers();
    stopConversionHelper();
}
