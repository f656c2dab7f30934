#include "ReadoutImage.h"

#include "ImageSize.h"
#include "camera/Parameters.h"

ReadoutDestination ReadoutImage::destination(const FrameReceiver& receiver) const {
    ReadoutDestination destination;
    destination.receiver = receiver;
    destination.bytes = frameBytes();
    destination.frameBound = readoutFrameBound(width, height);
    destination.shapeKnown = shapeKnown();
    return destination;
}

bool ReadoutImage::shapeKnown() const {
    return sizeRead && formatRead && (readoutFrameBound(width, height) > 0 || width == 0 || height == 0);
}

ReadoutImage readoutImageOf(int32_t cameraId) {
    ReadoutImage image;
    image.sizeRead = camGetImageSize(cameraId, &image.width, &image.height) == ResultOk;
    if (!image.sizeRead) image.width = image.height = 0;
    image.formatRead = camGetParameter(cameraId, kParamPixelFormat, &image.pixelFormat, nullptr, nullptr) == ResultOk;
    if (!image.formatRead) image.pixelFormat = 0;
    image.shape = selectFrameShape(image.pixelFormat, FrameFamily::Readout);
    return image;
}
