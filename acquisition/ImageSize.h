// The frame size of an open camera, as the image commands read it.
#ifndef QUORVEL_ACQUISITION_IMAGESIZE_H
#define QUORVEL_ACQUISITION_IMAGESIZE_H

#include "camera/Parameters.h"
#include "common/ResultCodes.h"

#include <cstdint>

// Reads parameter 15 into width, then 16 into height; the first failed read
// answers ResultParameterReadFailed (height is not read after a failed
// width). An id no open slot holds answers the same without a driver call.
ResultCode camGetImageSize(int32_t cameraId, uint32_t* width, uint32_t* height);

#endif
