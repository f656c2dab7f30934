#include "Connections.h"

#include "Attachment.h"
#include "CameraState.h"
#include "CameraTable.h"
#include "CameraTypes.h"
#include "Discovery.h"
#include "driver/QuorvelDrv.h"

#include <chrono>

namespace {

constexpr uint32_t kFirstLoadExType = 9;

// Stops, closes and releases a camera found in use by the enumeration. One
// that the table does not hold has no handle here and is left to the
// driver's open to accept or refuse.
void closeInUseCamera(int32_t cameraId) {
    CameraSlot* slot = findOpenCamera(cameraId);
    if (slot == nullptr) return;
    DeviceHandle handle = slot->deviceHandle.load();
    drvStopCapture(handle);
    drvCloseCamera(handle);
    ReleaseCameraSlot(cameraId);
}

// The next open's serial: the microsecond clock's low 32 bits, or one past
// the last serial where the clock has not moved on, and never 0. An earlier
// load of the module in the same process handed out numbers below the
// clock, so they do not come back (until the clock's 32 bits wrap, after
// 71 minutes).
uint32_t nextOpenSerial() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const uint32_t clock = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
    uint32_t& last = cameraState().lastOpenSerial;
    const bool clockMovedOn = last == 0 || static_cast<int32_t>(clock - last) > 0;
    last = clockMovedOn ? clock : last + 1;
    if (last == 0) last = 1;
    return last;
}

// Registers an opened camera; when every slot is taken the camera is
// closed again so that it does not stay open without a slot.
CameraSlot* registerCamera(int32_t cameraId, DeviceHandle handle) {
    if (ClaimCameraSlot(cameraId) == kNoSlot) {
        drvCloseCamera(handle);
        return nullptr;
    }
    CameraSlot& slot = cameraSlot(FindCameraSlot(cameraId));
    slot.deviceHandle.store(handle);
    slot.openSerial = nextOpenSerial();
    return &slot;
}

ResultCode prepareOpenedCamera(CameraSlot& slot) {
    DeviceHandle handle = slot.deviceHandle.load();
    const uint32_t cameraType = readCameraType(handle);  // 0 on failure: the plain load, no reset

    slot.settingsBlock[0] = kSettingsBlockBytes;
    uint32_t loaded = cameraType < kFirstLoadExType ? drvLoadSettings(handle, slot.settingsBlock)
                                                    : drvLoadSettingsEx(handle, slot.settingsBlock);
    if (loaded != 0) return ResultSettingsLoadFailed;

    drvSetParameter(handle, slot.settingsBlock, kOpenParameter, kOpenParameterValue);
    if (isMemoryResetType(cameraType)) {
        drvReset(handle);
        drvEraseMemory(handle);
    }
    drvPrepareSettings(handle, slot.settingsBlock);
    drvSendSettings(handle, slot.settingsBlock);
    return ResultOk;
}

}  // namespace

ResultCode camOpenCamera(int32_t* cameraId) {
    drvConfigure(0, kConfigureNetworkAddress, cameraState().interfaceAddress, 0);

    int32_t identifier = *cameraId;
    if (identifier == 0) {
        CameraEnumRecord records[kOpenEnumCapacity] = {};
        uint32_t count = kOpenEnumCapacity;
        if (drvEnumCameras(records, &count, kOpenEnumFilter) != 0 || count == 0) return ResultOpenFailed;
        identifier = static_cast<int32_t>(records[0].cameraId);
        if (records[0].inUse != 0) closeInUseCamera(identifier);
    }

    // -1 marks a free slot: a camera under that id could never be found
    // again, nor closed, so it is not opened.
    if (identifier == kFreeSlotKey) return ResultOpenFailed;

    // A camera already registered under this id is open and prepared:
    // opening it again would leave its first handle open in the driver.
    // One the driver no longer has is let go, and opened afresh.
    if (findOpenCamera(identifier) != nullptr && camCheckAttached(identifier)) {
        *cameraId = identifier;
        return ResultOk;
    }

    DeviceHandle handle = 0;
    if (drvOpenCamera(static_cast<uint32_t>(identifier), &handle) != 0) return ResultOpenFailed;
    CameraSlot* slot = registerCamera(identifier, handle);
    if (slot == nullptr) return ResultOpenFailed;
    *cameraId = identifier;
    return prepareOpenedCamera(*slot);
}

ResultCode camOpenRawCamera(const char* text, int32_t* cameraId) {
    *cameraId = kRawCameraId;
    // Only one raw camera can be addressed; a second would hide the first
    // and leave it open in the driver with no way to close it.
    if (findOpenCamera(kRawCameraId) != nullptr) return ResultRawOpenFailed;
    DeviceHandle handle = 0;
    if (drvOpenRawCamera(text, &handle) != 0) return ResultRawOpenFailed;

    CameraSlot* slot = registerCamera(kRawCameraId, handle);
    if (slot == nullptr) return ResultRawOpenFailed;
    slot->settingsBlock[0] = kSettingsBlockBytes;

    if (drvLoadSettingsEx(handle, slot->settingsBlock) != 0) return ResultParameterReadFailed;
    return resultOf(drvSendSettings(handle, slot->settingsBlock), ResultSettingsSendFailed);
}

ResultCode camCloseCamera(int32_t cameraId) {
    CameraSlot* slot = findOpenCamera(cameraId);
    if (slot == nullptr) return ResultCloseFailed;
    DeviceHandle handle = slot->deviceHandle.load();
    drvStopCapture(handle);
    if (drvCloseCamera(handle) == 0) {
        ReleaseCameraSlot(cameraId);
        return ResultOk;
    }
    // A camera the driver no longer has cannot be closed, and need not be:
    // it is let go, and the close has done what it was for.
    return camCheckAttached(cameraId) ? ResultCloseFailed : ResultOk;
}

void camCloseEveryCamera() {
    for (int index = 0; index < kMaxCameras; ++index) {
        const int32_t key = cameraSlot(index).key.load();
        if (key != kFreeSlotKey) camCloseCamera(key);
    }
}

uint32_t camOpenSerial(int32_t cameraId) {
    const CameraSlot* slot = findOpenCamera(cameraId);
    return slot == nullptr ? 0 : slot->openSerial;
}
