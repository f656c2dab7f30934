// "SynchGrab" and "MemoryPreview".
#include "FrameLayout.h"
#include "ImageSize.h"
#include "LiveCapture.h"
#include "camera/Parameters.h"
#include "gateway/Handlers.h"

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
    const ImagePair first = createImagePair(image.shape, image.width, image.height);
    const ImagePair second = createImagePair(image.shape, image.width, image.height);

    *status = camSynchGrab(cameraId, first.scratchData(), second.scratchData(), image.destinationBytes(),
                           image.shape.layoutCode, call.scalar(3));

    finishImagePair(first, image.shape, image.width, image.height);
    finishImagePair(second, image.shape, image.width, image.height);
    call.plhs[1] = first.output;
    call.plhs[2] = second.output;
}

void memoryPreviewCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    uint32_t* previewValue = call.wordOutput(2);
    const int32_t cameraId = call.signedScalar(2);
    const LiveImage image = liveImageOf(cameraId);
    const ImagePair pair = createImagePair(image.shape, image.width, image.height);

    *status = camMemoryPreview(cameraId, pair.scratchData(), image.destinationBytes(), image.shape.layoutCode,
                               previewValue);

    finishImagePair(pair, image.shape, image.width, image.height);
    call.plhs[1] = pair.output;
}
