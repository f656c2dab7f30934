#include "CameraTypes.h"

uint32_t readCameraType(DeviceHandle handle) {
    uint32_t cameraType = 0;
    uint32_t scratch = 0;
    drvGetCameraInfo(handle, 0, &cameraType, &scratch);
    return cameraType;
}
