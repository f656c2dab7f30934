// "MemoryReadData", and the bulk readouts "MemoryReadFrames" and
// "MemoryReadSegments" that stack many recorded frames into one array.
#include "acquisition/HostMemory.h"
#include "acquisition/Readout.h"
#include "acquisition/ReadoutImage.h"
#include "camera/CameraTable.h"
#include "gateway/Handlers.h"
#include "gateway/ImageOutput.h"

namespace {

// Reads frames 0 .. count - 1 of a bulk readout, frame k by
// readFrame(destination, k), each converted straight into its slice of one
// stack; the checks have held count to the row's bound. The first frame
// that does not answer 0 ends the readout: its code becomes the status and
// the stack keeps the frames before it.
template <typename ReadFrame>
void readIntoStack(CommandCall& call, uint32_t count, ReadFrame readFrame) {
    uint32_t* status = call.wordOutput(0);
    uint32_t* framesRead = call.wordOutput(2);
    ReadoutImage image = readoutImageOf(call.signedScalar(2));
    if (findOpenCamera(call.signedScalar(2)) == nullptr) {
        *status = ResultReadFailed;  // even for no frames: there is no camera to read
        count = 0;
    } else if (!imagesFitHost(image.shape, image.width, image.height, count)) {
        *status = ResultOutOfMemory;  // larger than the host's memory: asking for it would fail or thrash
        count = 0;
        image.width = image.height = 0;  // an empty stack of H x W past the host's index type would fail too
    }
    const size_t frameBytes = image.frameBytes();
    mxArray* stack = createImageStack(image.shape, image.width, image.height, count);
    call.plhs[1] = stack;
    auto* slices = static_cast<unsigned char*>(mxGetData(stack));
    for (uint32_t k = 0; k < count; ++k) {
        ImageTarget target(image.shape, image.width, image.height, slices + k * frameBytes);
        const ResultCode code = readFrame(image.destination(target.receiver()), image.shape.layoutCode, k);
        if (code != ResultOk) {
            *status = code;
            break;
        }
        target.finish();
        ++*framesRead;
    }
    if (*framesRead < count) keepStackFrames(stack, image.shape, image.width, image.height, *framesRead);
}

}  // namespace

void memoryReadDataCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    const int32_t cameraId = call.signedScalar(2);
    const ReadoutImage image = readoutImageOf(cameraId);
    if (!imagesFitHost(image.shape, image.width, image.height, 1)) {
        call.plhs[1] = createImageArray(image.shape, 0, 0);
        *status = ResultOutOfMemory;
        return;
    }
    ImageTarget target = createImageOutput(&call.plhs[1], image.shape, image.width, image.height);
    *status = camReadMemory(cameraId, call.scalar(3), call.scalar(4), image.destination(target.receiver()),
                            image.shape.layoutCode, call.scalar(5));
    target.finish();
}

void memoryReadFramesCommand(CommandCall& call) {
    const int32_t cameraId = call.signedScalar(2);
    const uint64_t first = call.whole(3);
    readIntoStack(call, call.scalar(4), [&](const ReadoutDestination& destination, uint32_t layoutCode, uint32_t k) {
        const uint64_t position = first + k;
        if (position < first) return ResultReadFailed;  // past the last position there is
        return camReadRecorded(cameraId, position, BulkAddressing::ByPosition, destination, layoutCode);
    });
}

void memoryReadSegmentsCommand(CommandCall& call) {
    const int32_t cameraId = call.signedScalar(2);
    const uint64_t first = call.whole(3);
    readIntoStack(call, call.scalar(4), [&](const ReadoutDestination& destination, uint32_t layoutCode, uint32_t k) {
        return camReadRecorded(cameraId, first + k, BulkAddressing::BySegment, destination, layoutCode);
    });
}
