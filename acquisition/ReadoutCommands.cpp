// "MemoryReadData".
#include "FrameLayout.h"
#include "ImageSize.h"
#include "Readout.h"
#include "gateway/Handlers.h"

void memoryReadDataCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    const int32_t cameraId = call.signedScalar(2);

    // A frame size that cannot be read gives an empty image and no bound
    // for the readout.
    uint32_t width = 0;
    uint32_t height = 0;
    const bool sizeRead = camGetImageSize(cameraId, &width, &height) == ResultOk;
    if (!sizeRead) width = height = 0;
    uint32_t pixelFormat = 0;
    camGetParameter(cameraId, kParamPixelFormat, &pixelFormat, nullptr, nullptr);

    const FrameShape shape = selectFrameShape(pixelFormat, FrameFamily::Readout);
    const ImagePair pair = createImagePair(shape, width, height);
    ReadoutDestination destination;
    destination.data = pair.scratchData();
    destination.bytes = shape.frameBytes(width, height);
    destination.frameBound = readoutFrameBound(width, height);
    destination.frameBoundKnown = sizeRead && (destination.frameBound > 0 || width == 0 || height == 0);
    *status = camReadMemory(cameraId, call.scalar(3), call.scalar(4), destination, shape.layoutCode, call.scalar(5));

    finishImagePair(pair, shape, width, height);
    call.plhs[1] = pair.output;
}
