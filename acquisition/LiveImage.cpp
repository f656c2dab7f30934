#include "LiveImage.h"

#include "ImageSize.h"
#include "camera/Parameters.h"

LiveImage liveImageOf(int32_t cameraId) {
    uint32_t pixelFormat = 0;
    const bool formatRead = camGetParameter(cameraId, kParamPixelFormat, &pixelFormat, nullptr, nullptr) == ResultOk;
    if (!formatRead) pixelFormat = 0;
    LiveImage image;
    const bool sizeRead = camGetImageSize(cameraId, &image.width, &image.height) == ResultOk;
    if (!sizeRead) image.width = image.height = 0;
    image.shape = selectFrameShape(pixelFormat, FrameFamily::Live);
    image.shapeRead = formatRead && sizeRead;
    return image;
}
