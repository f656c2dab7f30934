// The module's entry point: resolves the keyword, brings the driver up on
// first use, and hands the call to the command's handler.
#include "ArgumentChecks.h"
#include "CommandTable.h"
#include "ModulePin.h"
#include "ModuleState.h"
#include "acquisition/AcquisitionState.h"
#include "acquisition/ConversionHelper.h"
#include "camera/CameraTable.h"
#include "camera/Connections.h"
#include "common/FrameBuffer.h"
#include "driver/QuorvelDrv.h"

namespace {

// Runs once when the host unloads the module; open cameras stay open. A
// driver that refuses to unload keeps its threads, which may call back
// into this module: its cameras are closed, which ends their recordings
// and disk reads, and the module's code stays mapped for what no close
// ends. The host then finds the same module at its next load, which must
// start as a fresh one does.
void ExitHook() {
    ModuleState& state = moduleState();
    if (drvUnload() != 0 && state.driverLoaded) {
        camCloseEveryCamera();
        keepModuleMapped();
        state = ModuleState{};
    }
    releaseRecycledFrameBuffers();
    stopConversionHelper();
}

void loadDriverOnce() {
    ModuleState& state = moduleState();
    if (state.driverLoaded) return;
    drvPreLoad(0, 1, 0);
    if (drvLoad(0) != 0) raiseHostError(kDriverLoadError, "Can not load driver QuorvelML.");
    ResetCameraTable();
    // Before any slot is claimed: whoever releases a camera slot, the
    // slot's recording context is detached and its acquisition record
    // zeroed with it.
    setSlotReleaseHook(releaseAcquisitionSlot);
    state.driverLoaded = true;
}

}  // namespace

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    checkKeywordGiven(nrhs);

    ModuleState& state = moduleState();
    if (!state.exitHookRegistered) {
        mexAtExit(ExitHook);
        state.exitHookRegistered = true;
    }

    const CommandRow& row = resolveKeyword(prhs[0]);
    loadDriverOnce();

    CommandCall call;
    prepareCommandCall(row, nlhs, plhs, nrhs, prhs, call);
    row.handler(call);
    releaseTextArguments(call);
}
