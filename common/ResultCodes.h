// Status numbers in output 1 of every camera command; 0 is success.
#ifndef QUORVEL_COMMON_RESULTCODES_H
#define QUORVEL_COMMON_RESULTCODES_H

#include <cstdint>

enum ResultCode : uint32_t {
    ResultOk = 0,
    ResultOpenFailed = 2,
    ResultFormatNotMono = 3,
    ResultValueRejected = 4,
    ResultSettingsLoadFailed = 5,
    ResultCloseFailed = 6,
    ResultParameterReadFailed = 7,
    ResultParameterWriteFailed = 8,
    ResultInfoReadFailed = 9,
    ResultSettingsSendFailed = 10,
    ResultOutOfMemory = 11,
    ResultGrabFailed = 12,
    ResultReadFailed = 13,
    ResultTriggerPositionFailed = 14,
    ResultStopFailed = 15,
    ResultCalibrationFailed = 17,
    ResultFormatNotSupported = 18,
    ResultTriggerFailed = 19,
    ResultTimingReadFailed = 20,
    ResultResetFailed = 21,
    ResultTraceFailed = 22,
    ResultEraseFailed = 23,
    ResultRawOpenFailed = 24,
    ResultDownloadFailed = 25,
};

// A driver call's result as the command's code: 0 stays 0, anything else
// becomes failureCode. The driver's own non-zero value is never passed on.
inline ResultCode resultOf(uint32_t driverResult, ResultCode failureCode) {
    return driverResult == 0 ? ResultOk : failureCode;
}

#endif
