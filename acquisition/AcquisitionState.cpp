#include "AcquisitionState.h"

namespace {

AcquisitionState state;

// Registered when the module loads, beside the contexts, so that every
// program that can attach a context has it: whoever releases a camera slot,
// the slot's recording context is detached with it.
struct DetachOnSlotRelease {
    DetachOnSlotRelease() { setSlotReleaseHook(detachGrabContext); }
} detachOnSlotRelease;

}  // namespace

AcquisitionState& acquisitionState() { return state; }

void detachGrabContext(int index) { state.grabContexts[index].cameraId.store(kFreeSlotKey); }

void resetAcquisitionState() {
    for (GrabContext& context : state.grabContexts) {
        context.cameraId.store(0);
        context.segmentArgument.store(0);
        context.segmentTable.store(nullptr);
    }
    for (std::atomic<int32_t>& context : state.diskReadContexts) context.store(0);
}
