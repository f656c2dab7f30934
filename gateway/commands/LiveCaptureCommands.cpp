// "SynchGrab" and "MemoryPreview", and "CheckPixelFormat": what they would
// answer for a pixel format, asked without grabbing.
#include "acquisition/ImageSize.h"
#include "acquisition/LiveCapture.h"
#include "camera/Parameters.h"
#include "gateway/Handlers.h"
#include "gateway/ImageOutput.h"

namespace {

struct LiveImage {
    FrameShape shape;
    uint32_t width = 0;
    uint32_t height = 0;
    bool shapeRead = false;
    bool fitsHost = true;  // both images of a grab within the host's memory; else both empty and no grab

    LiveImages request() const { return {shape.frameBytes(width, height), shape.layoutCode, shapeRead}; }
};

// The shape the camera's PixelFormat and size call for. A failed read
// counts as 0: format 0's shape (uint8 H x W), or an empty image; the grab
// then answers 7 and the images stay zero.
LiveImage liveImageOf(int32_t cameraId) {
    uint32_t pixelFormat = 0;
    const bool formatRead = camGetParameter(cameraId, kParamPixelFormat, &pixelFormat, nullptr, nullptr) == ResultOk;
    if (!formatRead) pixelFormat = 0;
    LiveImage image;
    const bool sizeRead = camGetImageSize(cameraId, &image.width, &image.height) == ResultOk;
    if (!sizeRead) image.width = image.height = 0;
    image.shape = selectFrameShape(pixelFormat, FrameFamily::Live);
    image.shapeRead = formatRead && sizeRead;
    image.fitsHost = imagesFitHost(image.shape, image.width, image.height, 2);
    if (!image.fitsHost) image.width = image.height = 0;
    return image;
}

}  // namespace

void synchGrabCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    const int32_t cameraId = call.signedScalar(2);
    const LiveImage image = liveImageOf(cameraId);
    ImageTarget first = createImageOutput(&call.plhs[1], image.shape, image.width, image.height);
    ImageTarget second = createImageOutput(&call.plhs[2], image.shape, image.width, image.height);

    *status = image.fitsHost
                  ? camSynchGrab(cameraId, first.receiver(), second.receiver(), image.request(), call.scalar(3))
                  : ResultOutOfMemory;

    first.finish();
    second.finish();
}

void memoryPreviewCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    uint32_t* previewValue = call.wordOutput(2);
    const int32_t cameraId = call.signedScalar(2);
    const LiveImage image = liveImageOf(cameraId);
    ImageTarget target = createImageOutput(&call.plhs[1], image.shape, image.width, image.height);

    *status = image.fitsHost ? camMemoryPreview(cameraId, target.receiver(), image.request(), previewValue)
                             : ResultOutOfMemory;

    target.finish();
}

void checkPixelFormatCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    *status = camCheckPixelFormat(call.signedScalar(2), call.scalar(3));
}
