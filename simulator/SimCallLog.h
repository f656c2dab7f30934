// The simulator's call log: a ring of the most recent driver calls, a count
// of the older ones it dropped, and every operation's call count. Its memory
// stays flat however long a session runs: a full ring reuses its records.
#ifndef QUORVEL_SIMULATOR_SIMCALLLOG_H
#define QUORVEL_SIMULATOR_SIMCALLLOG_H

#include "SimCall.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

class SimCallLog {
public:
    void add(SimOperation operation, std::initializer_list<uint64_t> arguments, const char* text);
    // Oldest first.
    std::vector<SimCall> recent() const;
    uint64_t dropped() const { return dropped_; }
    uint64_t logged() const { return recent_.size() + dropped_; }
    // Calls of the operation; of every one for nullopt.
    uint64_t count(std::optional<SimOperation> operation) const;
    // Keeps the newest `limit` calls; the others count as dropped.
    void setLimit(size_t limit);
    void clear();

private:
    std::vector<SimCall> recent_;  // a ring once it holds limit_ records
    size_t oldest_ = 0;            // index of the oldest record of a full ring
    size_t limit_ = kSimCallLogLimit;
    uint64_t dropped_ = 0;
    std::array<uint64_t, kSimOperationCount> counts_{};
};

#endif
