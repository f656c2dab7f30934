// The module's entry point: resolves the keyword, brings the driver up on
// first use, and hands the call to the command's handler.
#include "ArgumentChecks.h"
#include "CommandTable.h"
#include "ModulePin.h"
#include "ModuleState.h"
#include "acquisition/ConversionHelper.h"
#include "acquisition/HostSession.h"
#include "common/FrameBuffer.h"

namespace {

// Runs once when the host unloads the module; open cameras stay open. A
// driver that refuses to unload keeps its threads, which may call back into
// this module: the module's code then stays mapped, and the host finds the
// same module at its next load, which must start as a fresh one does (so
// must a module pinned by an earlier refusal, whatever this unload does).
void ExitHook() {
    if (unloadDriverAtExit()) keepModuleMapped();
    moduleState() = ModuleState{};
    releaseRecycledFrameBuffers();
    stopConversionHelper();
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
    if (!loadDriverOnce()) raiseHostError(kDriverLoadError, "Can not load driver QuorvelML.");

    CommandCall call;
    prepareCommandCall(row, nlhs, plhs, nrhs, prhs, call);
    row.handler(call);
    releaseTextArguments(call);
}
