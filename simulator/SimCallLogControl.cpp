#include "SimCallLogControl.h"

#include "SimState.h"

std::vector<SimCall> simCallLog() {
    auto lock = simLockState();
    return simState().log.recent();
}

void simClearCallLog() {
    auto lock = simLockState();
    simState().log.clear();
}

int simCallCount(const SimOperationKey& operation) {
    auto lock = simLockState();
    return static_cast<int>(simState().log.count(operation.operation));
}

uint64_t simLoggedCallCount() {
    auto lock = simLockState();
    return simState().log.logged();
}

uint64_t simDroppedCallCount() {
    auto lock = simLockState();
    return simState().log.dropped();
}

void simSetCallLogLimit(size_t calls) {
    auto lock = simLockState();
    simState().log.setLimit(calls);
}
