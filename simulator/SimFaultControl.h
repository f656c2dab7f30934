// Control of the fault schedules. A schedule makes calls of one operation,
// or of every one, return a value without effect. Each operation has at
// most one schedule by position, and so has kSimAnyOperation; both count
// every call, and the operation's own schedule wins. Schedules by argument
// come after them.
#ifndef QUORVEL_SIMULATOR_SIMFAULTCONTROL_H
#define QUORVEL_SIMULATOR_SIMFAULTCONTROL_H

#include "SimOperations.h"

#include <cstddef>
#include <cstdint>

// The next `skip` calls of the operation pass untouched; the `count` calls
// after them (kSimForever: all) return value without effect. Replaces the
// operation's schedule by position; a count of 0 schedules nothing.
void simForceResultAfter(const SimOperationKey& operation, int skip, uint32_t value, int count = 1);
// The next `count` calls: simForceResultAfter with no skip.
void simForceResult(const SimOperationKey& operation, uint32_t value, int count = 1);

// A failure chosen by the call's arguments: the next `count` calls of the
// operation whose argument `argument` (counted from 0, in the order the log
// lists them) equals `value` return `result` without effect; other calls
// pass. Only the reads of parameter 16: ("drvGetParameter", 2, 16, result).
// Adds to earlier ones.
void simForceResultWhere(const SimOperationKey& operation, size_t argument, uint64_t value, uint32_t result,
                         int count = 1);

void simClearForcedResults();

// Calls answered with a forced result since the last simReset().
uint64_t simForcedCallCount();

#endif
