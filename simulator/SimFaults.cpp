// Fault schedules of QuorvelSim.h.
#include "SimState.h"

#include <set>

namespace {

// A schedule may name a driver operation or, where `any` allows, every one.
bool isScheduleName(const std::string& name, bool any) {
    return simIsDriverOperation(name) || (any && name == kSimAnyOperation);
}

}  // namespace

bool simIsDriverOperation(const std::string& name) {
    static const std::set<std::string> names = {
#define QUORVEL_OPERATION_NAME(name, ordinal) #name,
        QUORVEL_DRV_OPERATIONS(QUORVEL_OPERATION_NAME)
#undef QUORVEL_OPERATION_NAME
    };
    return names.count(name) != 0;
}

bool simForceResult(const std::string& operation, uint32_t value, int count) {
    return simForceResultAfter(operation, 0, value, count);
}

bool simForceResultAfter(const std::string& operation, int skip, uint32_t value, int count) {
    if (!isScheduleName(operation, true)) return false;
    std::lock_guard<std::mutex> lock(simState().mutex);
    if (count != 0) simState().forced[operation] = SimForcedResult{value, count, skip < 0 ? 0 : skip};
    return true;
}

bool simForceResultWhere(const std::string& operation, size_t argument, uint64_t value, uint32_t result, int count) {
    if (!isScheduleName(operation, false)) return false;
    std::lock_guard<std::mutex> lock(simState().mutex);
    if (count != 0) simState().argumentFaults.push_back(SimArgumentFault{operation, argument, value, result, count});
    return true;
}

uint64_t simForcedCallCount() {
    std::lock_guard<std::mutex> lock(simState().mutex);
    return simState().forcedCalls;
}
