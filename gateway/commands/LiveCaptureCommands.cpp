// "SynchGrab" and "MemoryPreview", and "CheckPixelFormat": what they would
// answer for a pixel format, asked without grabbing.
#include "acquisition/HostMemory.h"
#include "acquisition/LiveImage.h"
#include "gateway/Handlers.h"
#include "gateway/ImageOutput.h"

namespace {

// The camera's live image, emptied when both images of a grab would not fit
// in the host's memory: the command then answers 11 without grabbing.
LiveImage hostLiveImageOf(int32_t cameraId, bool* fitsHost) {
    LiveImage image = liveImageOf(cameraId);
    *fitsHost = imagesFitHost(image.shape, image.width, image.height, 2);
    if (!*fitsHost) image.width = image.height = 0;
    return image;
}

}  // namespace

void synchGrabCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    const int32_t cameraId = call.signedScalar(2);
    bool fitsHost = false;
    const LiveImage image = hostLiveImageOf(cameraId, &fitsHost);
    ImageTarget first = createImageOutput(&call.plhs[1], image.shape, image.width, image.height);
    ImageTarget second = createImageOutput(&call.plhs[2], image.shape, image.width, image.height);

    *status = fitsHost
                  ? camSynchGrab(cameraId, first.receiver(), second.receiver(), image.request(), call.scalar(3))
                  : ResultOutOfMemory;

    first.finish();
    second.finish();
}

void memoryPreviewCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    uint32_t* previewValue = call.wordOutput(2);
    const int32_t cameraId = call.signedScalar(2);
    bool fitsHost = false;
    const LiveImage image = hostLiveImageOf(cameraId, &fitsHost);
    ImageTarget target = createImageOutput(&call.plhs[1], image.shape, image.width, image.height);

    *status = fitsHost ? camMemoryPreview(cameraId, target.receiver(), image.request(), previewValue)
                             : ResultOutOfMemory;

    target.finish();
}

void checkPixelFormatCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    *status = camCheckPixelFormat(call.signedScalar(2), call.scalar(3));
}
