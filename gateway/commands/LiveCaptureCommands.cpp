// "SynchGrab" and "MemoryPreview", and "CheckPixelFormat": what they would
// answer for a pixel format, asked without grabbing.
#include "acquisition/LiveImage.h"
#include "gateway/Handlers.h"
#include "gateway/ImageOutput.h"

void synchGrabCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    const int32_t cameraId = call.signedScalar(2);
    const LiveImage image = liveImageOf(cameraId);
    ImageTarget first = createImageOutput(&call.plhs[1], image.shape, image.width, image.height);
    ImageTarget second = createImageOutput(&call.plhs[2], image.shape, image.width, image.height);

    *status = camSynchGrab(cameraId, first.receiver(), second.receiver(), image.request(), call.scalar(3));

    first.finish();
    second.finish();
}

void memoryPreviewCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    uint32_t* previewValue = call.wordOutput(2);
    const int32_t cameraId = call.signedScalar(2);
    const LiveImage image = liveImageOf(cameraId);
    ImageTarget target = createImageOutput(&call.plhs[1], image.shape, image.width, image.height);

    *status = camMemoryPreview(cameraId, target.receiver(), image.request(), previewValue);

    target.finish();
}

void checkPixelFormatCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    *status = camCheckPixelFormat(call.signedScalar(2), call.scalar(3));
}
