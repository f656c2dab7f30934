#include "AcquisitionState.h"

#include <algorithm>
#include <iterator>

namespace {

AcquisitionState state;

void zeroSlot(AcquisitionSlot& slot) {
    slot.frameReadyCount.store(0);
    slot.diskReadCount.store(0);
    slot.lastDiskReport.store(0);
    slot.transfer = TransferDescriptor{};
    std::lock_guard<std::mutex> tableLock(slot.segmentTableLock);
    std::fill(std::begin(slot.segmentTable), std::end(slot.segmentTable), 0u);
}

}  // namespace

AcquisitionState& acquisitionState() { return state; }

AcquisitionSlot& acquisitionSlot(int index) { return state.slots[index]; }

void detachGrabContext(int index) { state.grabContexts[index].cameraId.store(kFreeSlotKey); }

void releaseAcquisitionSlot(int index) {
    detachGrabContext(index);
    zeroSlot(state.slots[index]);
}

void resetAcquisitionState() {
    for (GrabContext& context : state.grabContexts) {
        context.cameraId.store(0);
        context.segmentArgument.store(0);
        context.segmentTable.store(nullptr);
    }
    for (std::atomic<int32_t>& context : state.diskReadContexts) context.store(0);
    for (AcquisitionSlot& slot : state.slots) zeroSlot(slot);
}
