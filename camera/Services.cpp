#include "Services.h"

#include "CameraTable.h"

namespace {

// The shape every service shares: look-up, one driver call, one code.
template <typename DriverCall>
ResultCode runService(int32_t cameraId, ResultCode failureCode, DriverCall driverCall) {
    CameraSlot* slot = findOpenCamera(cameraId);
    if (slot == nullptr) return failureCode;
    return resultOf(driverCall(slot->deviceHandle.load()), failureCode);
}

}  // namespace

ResultCode camCalibrateNoiseReduction(int32_t cameraId, uint32_t value) {
    return runService(cameraId, ResultCalibrationFailed,
                      [&](DeviceHandle handle) { return drvCalibrateNoiseReduction(handle, value, 0, 0); });
}

ResultCode camTrigger(int32_t cameraId) { return runService(cameraId, ResultTriggerFailed, drvTrigger); }

ResultCode camReset(int32_t cameraId) { return runService(cameraId, ResultResetFailed, drvReset); }

ResultCode camEraseMemory(int32_t cameraId) { return runService(cameraId, ResultEraseFailed, drvEraseMemory); }

ResultCode camEnableDiagnosticTrace(int32_t cameraId, const char* text, uint32_t value) {
    return runService(cameraId, ResultTraceFailed,
                      [&](DeviceHandle handle) { return drvEnableTrace(handle, text, value); });
}
