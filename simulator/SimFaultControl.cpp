#include "SimFaultControl.h"

#include "SimState.h"

void simForceResultAfter(const SimOperationKey& operation, int skip, uint32_t value, int count) {
    auto lock = simLockState();
    simState().faults.forceAfter(operation.operation, skip, value, count);
}

void simForceResult(const SimOperationKey& operation, uint32_t value, int count) {
    simForceResultAfter(operation, 0, value, count);
}

void simForceResultWhere(const SimOperationKey& operation, size_t argument, uint64_t value, uint32_t result,
                         int count) {
    auto lock = simLockState();
    simState().faults.forceWhere(operation.operation, argument, value, result, count);
}

void simClearForcedResults() {
    auto lock = simLockState();
    simState().faults.clear();
}

uint64_t simForcedCallCount() {
    auto lock = simLockState();
    return simState().faults.forcedCalls();
}
