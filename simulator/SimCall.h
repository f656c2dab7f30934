// One driver call as the simulator's log keeps it.
#ifndef QUORVEL_SIMULATOR_SIMCALL_H
#define QUORVEL_SIMULATOR_SIMCALL_H

#include "SimOperations.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

struct SimCall {
    SimOperation operation;
    std::vector<uint64_t> arguments;   // numbers and addresses in order
    std::string text;                  // the text argument, if the call has one
    bool hasText = false;
    std::thread::id thread;            // the thread that made the call
    std::string describe() const;      // "drvOpenCamera(1001, 0x7ffd...)"
};

// Calls the log keeps by default: the most recent ones; older calls are
// dropped and counted, so that a long session's memory stays flat.
constexpr size_t kSimCallLogLimit = 4096;

#endif
