// The operation list and the fault schedules of QuorvelSim.h.
#include "SimFaults.h"

#include "SimState.h"

#include <ostream>
#include <stdexcept>

namespace {

constexpr const char* kOperationNames[] = {
#define QUORVEL_SIM_OPERATION_NAME(name, ordinal) #name,
    QUORVEL_DRV_OPERATIONS(QUORVEL_SIM_OPERATION_NAME)
#undef QUORVEL_SIM_OPERATION_NAME
};
static_assert(sizeof kOperationNames / sizeof kOperationNames[0] == kSimOperationCount);

SimOperation operationNamed(std::string_view name) {
    const std::optional<SimOperation> operation = simOperationNamed(name);
    if (!operation) throw std::invalid_argument("no driver operation is named \"" + std::string(name) + "\"");
    return *operation;
}

}  // namespace

const char* simOperationName(SimOperation operation) { return kOperationNames[static_cast<size_t>(operation)]; }

std::optional<SimOperation> simOperationNamed(std::string_view name) {
    for (size_t index = 0; index < kSimOperationCount; ++index)
        if (name == kOperationNames[index]) return static_cast<SimOperation>(index);
    return std::nullopt;
}

SimOperationKey::SimOperationKey(const char* name) {
    const std::string_view text = name != nullptr ? name : "";
    if (text == kSimAnyOperation) return;
    operation = operationNamed(text);
}

bool operator==(SimOperation operation, std::string_view name) { return operation == operationNamed(name); }

std::ostream& operator<<(std::ostream& out, SimOperation operation) { return out << simOperationName(operation); }

size_t SimFaultSchedules::slotOf(std::optional<SimOperation> operation) {
    return operation ? static_cast<size_t>(*operation) : kSimOperationCount;
}

void SimFaultSchedules::forceAfter(std::optional<SimOperation> operation, int skip, uint32_t value, int count) {
    if (count != 0) byPosition_[slotOf(operation)] = ByPosition{value, count, skip < 0 ? 0 : skip};
}

void SimFaultSchedules::forceWhere(std::optional<SimOperation> operation, size_t argument, uint64_t value,
                                   uint32_t result, int count) {
    if (count != 0) byArgument_.push_back(ByArgument{operation, argument, value, result, count});
}

void SimFaultSchedules::clear() {
    byPosition_.fill(ByPosition{});
    byArgument_.clear();
}

std::optional<uint32_t> SimFaultSchedules::takeByPosition(size_t slot) {
    ByPosition& schedule = byPosition_[slot];
    if (schedule.remaining == 0) return std::nullopt;
    if (schedule.skip > 0) {
        --schedule.skip;
        return std::nullopt;
    }
    if (schedule.remaining != kSimForever) --schedule.remaining;
    return schedule.value;
}

std::optional<uint32_t> SimFaultSchedules::takeByArgument(SimOperation operation,
                                                          std::initializer_list<uint64_t> arguments) {
    for (auto fault = byArgument_.begin(); fault != byArgument_.end(); ++fault) {
        if ((fault->operation && *fault->operation != operation) || fault->argument >= arguments.size() ||
            arguments.begin()[fault->argument] != fault->value)
            continue;
        const uint32_t result = fault->result;
        if (fault->remaining != kSimForever && --fault->remaining == 0) byArgument_.erase(fault);
        return result;
    }
    return std::nullopt;
}

std::optional<uint32_t> SimFaultSchedules::take(SimOperation operation, std::initializer_list<uint64_t> arguments) {
    // Both schedules by position count the call; the operation's own one wins.
    const std::optional<uint32_t> own = takeByPosition(slotOf(operation));
    const std::optional<uint32_t> any = takeByPosition(slotOf(std::nullopt));
    std::optional<uint32_t> forced = own ? own : any;
    if (!forced) forced = takeByArgument(operation, arguments);
    if (forced) ++forcedCalls_;
    return forced;
}

void simForceResultAfter(const SimOperationKey& operation, int skip, uint32_t value, int count) {
    std::lock_guard<std::mutex> lock(simState().mutex);
    simState().faults.forceAfter(operation.operation, skip, value, count);
}

void simForceResult(const SimOperationKey& operation, uint32_t value, int count) {
    simForceResultAfter(operation, 0, value, count);
}

void simForceResultWhere(const SimOperationKey& operation, size_t argument, uint64_t value, uint32_t result,
                         int count) {
    std::lock_guard<std::mutex> lock(simState().mutex);
    simState().faults.forceWhere(operation.operation, argument, value, result, count);
}

void simClearForcedResults() {
    std::lock_guard<std::mutex> lock(simState().mutex);
    simState().faults.clear();
}

uint64_t simForcedCallCount() {
    std::lock_guard<std::mutex> lock(simState().mutex);
    return simState().faults.forcedCalls();
}
