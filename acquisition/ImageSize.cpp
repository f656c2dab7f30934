#include "ImageSize.h"

#include "camera/CameraTable.h"

ResultCode camGetImageSize(int32_t cameraId, uint32_t* width, uint32_t* height) {
    CameraSlot* slot = findOpenCamera(cameraId);
    if (slot == nullptr) return ResultParameterReadFailed;
    DeviceHandle handle = slot->deviceHandle.load();
    if (drvGetParameter(handle, slot->settingsBlock, kParamFrameWidth, width) != 0) return ResultParameterReadFailed;
    return resultOf(drvGetParameter(handle, slot->settingsBlock, kParamFrameHeight, height), ResultParameterReadFailed);
}
