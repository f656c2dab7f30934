// The fault schedules (SimFaultControl.h), kept by operation: one schedule
// by position per operation and one for every operation, then the
// schedules by argument in the order they were added.
#ifndef QUORVEL_SIMULATOR_SIMFAULTSCHEDULES_H
#define QUORVEL_SIMULATOR_SIMFAULTSCHEDULES_H

#include "SimOperations.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

class SimFaultSchedules {
public:
    void forceAfter(std::optional<SimOperation> operation, int skip, uint32_t value, int count);
    void forceWhere(std::optional<SimOperation> operation, size_t argument, uint64_t value, uint32_t result,
                    int count);
    void clear();
    // Counts the call against the schedules; the forced result when one of
    // them forces it.
    std::optional<uint32_t> take(SimOperation operation, std::initializer_list<uint64_t> arguments);
    uint64_t forcedCalls() const { return forcedCalls_; }

private:
    struct ByPosition {
        uint32_t value = 0;
        int remaining = 0;  // kSimForever for good; 0: no schedule
        int skip = 0;       // calls that pass untouched before the first forced one
    };
    struct ByArgument {
        std::optional<SimOperation> operation;  // nullopt: every operation
        size_t argument = 0;
        uint64_t value = 0;
        uint32_t result = 0;
        int remaining = 0;  // kSimForever for good
    };

    static size_t slotOf(std::optional<SimOperation> operation);
    std::optional<uint32_t> takeByPosition(size_t slot);
    std::optional<uint32_t> takeByArgument(SimOperation operation, std::initializer_list<uint64_t> arguments);

    // By operation; the last slot holds the schedule of every operation.
    std::array<ByPosition, kSimOperationCount + 1> byPosition_{};
    std::vector<ByArgument> byArgument_;
    uint64_t forcedCalls_ = 0;
};

#endif
