// "SynchGrab" and "MemoryPreview".
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

    size_t destinationBytes() const { return shape.frameBytes(width, height); }
};

// The shape the camera's PixelFormat and size call for. The reads are not
// examined: a failed read leaves its value 0 (8-bit mono, empty image), and
// the capture core reads everything again and reports the failure.
LiveImage liveImageOf(int32_t cameraId) {
    uint32_t pixelFormat = 0;
    camGetParameter(cameraId, kParamPixelFormat, &pixelFormat, nullptr, nullptr);
    LiveImage image;
    camGetImageSize(cameraId, &image.width, &image.height);
    image.shape = selectFrameShape(pixelFormat, FrameFamily::Live);
    return image;
}

}  // namespace

void synchGrabCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    const int32_t cameraId = call.signedScalar(2);
    const LiveImage image = liveImageOf(cameraId);
    ImageTarget first = createImageOutput(&call.plhs[1], image.shape, image.width, image.height);
    ImageTarget second = createImageOutput(&call.plhs[2], image.shape, image.width, image.height);

    *status = camSynchGrab(cameraId, first.receiver(), second.receiver(), image.destinationBytes(),
                           image.shape.layoutCode, call.scalar(3));

    first.finish();
    second.finish();
}

void memoryPreviewCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    uint32_t* previewValue = call.wordOutput(2);
    const int32_t cameraId = call.signedScalar(2);
    const LiveImage image = liveImageOf(cameraId);
    ImageTarget target = createImageOutput(&call.plhs[1], image.shape, image.width, image.height);

    *status = camMemoryPreview(cameraId, target.receiver(), image.destinationBytes(), image.shape.layoutCode,
                               previewValue);

    target.finish();
}
