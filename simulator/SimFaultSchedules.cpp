#include "SimFaultSchedules.h"

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
