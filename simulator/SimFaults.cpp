// Fault schedules of QuorvelSim.h.
#include "SimState.h"

void simForceResultAfter(const std::string& operation, int skip, uint32_t value, int count) {
    std::lock_guard<std::mutex> lock(simState().mutex);
    if (count == 0) return;
    simState().forced[operation] = SimForcedResult{value, count, skip < 0 ? 0 : skip};
}

uint64_t simForcedCallCount() {
    std::lock_guard<std::mutex> lock(simState().mutex);
    return simState().forcedCalls;
}
