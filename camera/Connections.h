// Opening and closing cameras: the only operations that add cameras to the
// table and take them out again.
#ifndef QUORVEL_CAMERA_CONNECTIONS_H
#define QUORVEL_CAMERA_CONNECTIONS_H

#include "common/ResultCodes.h"

#include <cstdint>

constexpr int32_t kRawCameraId = 0;
constexpr uint32_t kOpenEnumCapacity = 16;
constexpr uint32_t kOpenEnumFilter = 0x1FF;
constexpr uint32_t kOpenParameter = 35;
constexpr uint32_t kOpenParameterValue = 2500;

// Opens the requested camera, or the first one found when cameraId is 0,
// and prepares it. An id the module holds answers 0 and keeps the camera
// as it is, unless the driver no longer has it (camCheckAttached): then it
// is let go and opened afresh. On return cameraId is the id used: a request of 0 becomes
// the first record's id once the driver has opened that camera. Answers
// 0, ResultOpenFailed or ResultSettingsLoadFailed (camera stays registered).
ResultCode camOpenCamera(int32_t* cameraId);

// Opens the raw camera the text names and registers it under kRawCameraId.
// Answers 0, ResultRawOpenFailed, ResultParameterReadFailed (settings load)
// or ResultSettingsSendFailed; the last two leave it registered.
ResultCode camOpenRawCamera(const char* text, int32_t* cameraId);

// Stops and closes the camera; on success its slot is freed. A close the
// driver refuses for a camera it no longer has (camCheckAttached) frees
// the slot too and answers 0. Answers 0 or ResultCloseFailed (still
// registered).
ResultCode camCloseCamera(int32_t cameraId);

// The serial of the open that registered the camera: a later open of the
// same id, after a close, has another. 0 for an id no open camera carries.
uint32_t camOpenSerial(int32_t cameraId);

// Closes every camera the table holds, as camCloseCamera closes one; a
// camera the driver fails to close stays registered.
void camCloseEveryCamera();

#endif
