// One-shot camera services: each finds the open camera and makes exactly
// one driver call, answering 0 or the service's own failure code. An id
// that no open camera carries answers that code without a driver call.
// None of them changes the module's state.
#ifndef QUORVEL_CAMERA_SERVICES_H
#define QUORVEL_CAMERA_SERVICES_H

#include "common/ResultCodes.h"

#include <cstdint>

// drvCalibrateNoiseReduction(handle, value, 0, 0); ResultCalibrationFailed.
ResultCode camCalibrateNoiseReduction(int32_t cameraId, uint32_t value);
// drvTrigger; ResultTriggerFailed.
ResultCode camTrigger(int32_t cameraId);
// drvReset; ResultResetFailed.
ResultCode camReset(int32_t cameraId);
// drvEraseMemory; ResultEraseFailed.
ResultCode camEraseMemory(int32_t cameraId);
// drvEnableTrace(handle, text, value); the text is lent for the call only.
// ResultTraceFailed.
ResultCode camEnableDiagnosticTrace(int32_t cameraId, const char* text, uint32_t value);

#endif
