#include "CameraTypes.h"

#include "Parameters.h"

uint32_t readCameraType(DeviceHandle handle) {
    uint32_t cameraType = 0;
    uint32_t scratch = 0;
    drvGetCameraInfo(handle, kInfoCameraType, &cameraType, &scratch);
    return cameraType;
}
