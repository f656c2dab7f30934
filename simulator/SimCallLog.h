// The simulator's call log: a ring of the most recent driver calls, a count
// of the older ones it dropped, and every operation's call count. Its memory
// stays flat however long a session runs: a full ring reuses its records.
#ifndef QUORVEL_SIMULATOR_SIMCALLLOG_H
#define QUORVEL_SIMULATOR_SIMCALLLOG_H

#include "QuorvelSim.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

class SimCallLog {
public:
    void add(const char* operation, std::initializer_list<uint64_t> arguments, const char* text);
    // Oldest first.
    std::vector<SimCall> recent() const;
    uint64_t dropped() const { return dropped_; }
    uint64_t logged() const { return recent_.size() + dropped_; }
    uint64_t count(const std::string& operation) const;
    // Keeps the newest `limit` calls; the others count as dropped.
    void setLimit(size_t limit);
    void clear();

private:
    std::vector<SimCall> recent_;  // a ring once it holds limit_ records
    size_t oldest_ = 0;            // index of the oldest record of a full ring
    size_t limit_ = kSimCallLogLimit;
    uint64_t dropped_ = 0;
    std::map<std::string, uint64_t, std::less<>> counts_;
};

#endif
