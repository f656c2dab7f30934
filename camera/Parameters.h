// Camera parameters with their limits, camera information items, Broc
// parameter records and sending the settings. Every read goes to the
// driver; nothing is cached. An id that no open camera carries answers the
// operation's failure code without a driver call.
#ifndef QUORVEL_CAMERA_PARAMETERS_H
#define QUORVEL_CAMERA_PARAMETERS_H

#include "driver/QuorvelDrv.h"
#include "common/ResultCodes.h"

#include <cstdint>

// Parameters and information items the module itself knows by number.
constexpr uint32_t kParamPixelFormat = 2;
constexpr uint32_t kParamFrameWidth = 15;
constexpr uint32_t kParamFrameHeight = 16;
constexpr uint32_t kInfoCameraType = 0;
constexpr uint32_t kInfoModelAttribute = 7;
constexpr uint32_t kInfoColour = 12;
constexpr uint32_t kInfoAddressing = 24;

constexpr uint32_t kBrocLastIndex = kBrocTableRecords - 1;

// Reads the item into *value; the driver's second word is discarded.
// Answers 0 or ResultInfoReadFailed (*value then holds what the driver left).
ResultCode camGetCameraInfo(int32_t cameraId, uint32_t item, uint32_t* value);

// Reads the value, then the selector-0 limit, then the selector-1 limit,
// stopping at the first failed read: an out word is written only by its own
// successful read. Null limit pointers are read into scratch words, so the
// driver sees the same three reads. Answers 0 or ResultParameterReadFailed.
ResultCode camGetParameter(int32_t cameraId, uint32_t parameter, uint32_t* value, uint32_t* limit0,
                           uint32_t* limit1);

// Writes the value. A 0 for the frame width or height re-applies the current
// value (the width less 20 on cameras of type 3, and of type 1 whose item 7
// is below 2). Answers 0, ResultValueRejected (driver result 3) or
// ResultParameterWriteFailed.
ResultCode camSetParameter(int32_t cameraId, uint32_t parameter, uint32_t value);

// Prepares (unexamined) and sends the settings. Answers 0 or
// ResultSettingsSendFailed.
ResultCode camSendCfg(int32_t cameraId);

// Words 0 to 3 of record `index` into the non-null out pointers. An index
// above kBrocLastIndex answers ResultParameterReadFailed without a driver
// call. The table is cleared before the read, so a failed read gives 0s
// unless the driver wrote them. Answers 0 or ResultParameterReadFailed.
ResultCode camGetBrocParameters(int32_t cameraId, uint32_t index, uint32_t* word0, uint32_t* word1,
                                uint32_t* word2, uint32_t* word3);

#endif
