#include "AcquisitionState.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <iterator>

namespace {

AcquisitionState state;

constexpr int kIndexBits = 4;
static_assert(kMaxCameras <= 1 << kIndexBits, "a context holds the slot index in its low bits");

// The steady clock's microseconds, or one past the last ticket where the
// clock has not moved on; never 0.
uint64_t nextTicket() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const uint64_t clock = uint64_t(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
    state.lastTicket = std::max(clock, state.lastTicket + 1);
    return state.lastTicket;
}

int slotOf(void* context, std::atomic<uint64_t> AcquisitionSlot::*ticketOfKind) {
    const uintptr_t bits = reinterpret_cast<uintptr_t>(context);
    const int index = int(bits & ((1u << kIndexBits) - 1));
    if (index >= kMaxCameras) return kNoSlot;
    const uint64_t ticket = (state.slots[index].*ticketOfKind).load();
    return ticket != 0 && callbackContext(index, ticket) == context ? index : kNoSlot;
}

void* issueContext(int index, std::atomic<uint64_t> AcquisitionSlot::*ticketOfKind) {
    const uint64_t ticket = nextTicket();
    (state.slots[index].*ticketOfKind).store(ticket);
    return callbackContext(index, ticket);
}

void zeroSlot(AcquisitionSlot& slot) {
    slot.recordingTicket.store(0);
    slot.diskReadTicket.store(0);
    slot.segmentArgument.store(0);
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

void* callbackContext(int index, uint64_t ticket) {
    return reinterpret_cast<void*>(uintptr_t(ticket) << kIndexBits | uintptr_t(index));
}

void* issueRecordingContext(int index) { return issueContext(index, &AcquisitionSlot::recordingTicket); }
void* issueDiskReadContext(int index) { return issueContext(index, &AcquisitionSlot::diskReadTicket); }
int recordingSlotOf(void* context) { return slotOf(context, &AcquisitionSlot::recordingTicket); }
int diskReadSlotOf(void* context) { return slotOf(context, &AcquisitionSlot::diskReadTicket); }

void detachGrabContext(int index) { state.slots[index].recordingTicket.store(0); }

void releaseAcquisitionSlot(int index) {
    detachGrabContext(index);
    zeroSlot(state.slots[index]);
}

void resetAcquisitionState() {
    for (AcquisitionSlot& slot : state.slots) zeroSlot(slot);
}
