// Status numbers in output 1 of every camera command; 0 is success. The
// numbers, their names and meanings are listed in ResultCodeList.h.
#ifndef QUORVEL_COMMON_RESULTCODES_H
#define QUORVEL_COMMON_RESULTCODES_H

#include <cstdint>

enum ResultCode : uint32_t {
#define QUORVEL_RESULT(number, name, meaning) Result##name = number,
#include "common/ResultCodeList.h"
#undef QUORVEL_RESULT
};

// A driver call's result as the command's code: 0 stays 0, anything else
// becomes failureCode. The driver's own non-zero value is never passed on.
inline ResultCode resultOf(uint32_t driverResult, ResultCode failureCode) {
    return driverResult == 0 ? ResultOk : failureCode;
}

#endif
