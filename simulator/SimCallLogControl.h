// Control of the call log: the most recent driver calls and every
// operation's call count.
#ifndef QUORVEL_SIMULATOR_SIMCALLLOGCONTROL_H
#define QUORVEL_SIMULATOR_SIMCALLLOGCONTROL_H

#include "SimCall.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The most recent calls, oldest first (at most the log's limit).
std::vector<SimCall> simCallLog();
void simClearCallLog();
// Calls of the operation (of all, for kSimAnyOperation) since the log was
// cleared, dropped ones included.
int simCallCount(const SimOperationKey& operation);
// Calls since the log was cleared, and those of them the log no longer holds.
uint64_t simLoggedCallCount();
uint64_t simDroppedCallCount();
// Keeps at most the `calls` most recent calls (0: none, only the counts).
void simSetCallLogLimit(size_t calls);

#endif
