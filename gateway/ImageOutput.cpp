#include "ImageOutput.h"

#include <unistd.h>

namespace {

// The shape's H, W (, 3) at this size, then the frames of a stack; returns how many.
mwSize imageDimensions(FrameShape shape, uint32_t width, uint32_t height, bool stacked, mwSize frames,
                       mwSize (&dimensions)[4]) {
    shape.setSize(width, height);
    mwSize count = 0;
    for (; count < shape.dimensionCount; ++count) dimensions[count] = shape.dimensions[count];
    if (stacked) dimensions[count++] = frames;
    return count;
}

mxArray* createImage(const FrameShape& shape, uint32_t width, uint32_t height, bool stacked, mwSize frames) {
    mwSize dimensions[4];
    const mwSize count = imageDimensions(shape, width, height, stacked, frames, dimensions);
    return mxCreateUninitNumericArray(count, dimensions, imageClass(shape.sampleType), mxREAL);
}

}  // namespace

mxClassID imageClass(SampleType sampleType) {
    return sampleType == SampleType::UInt16 ? mxUINT16_CLASS : mxUINT8_CLASS;
}

mxArray* createImageArray(const FrameShape& shape, uint32_t width, uint32_t height) {
    return createImage(shape, width, height, false, 0);
}

mxArray* createImageStack(const FrameShape& shape, uint32_t width, uint32_t height, mwSize frames) {
    return createImage(shape, width, height, true, frames);
}

uint64_t hostMemoryBytes() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageBytes = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageBytes <= 0) return UINT64_MAX;  // unknown: the host's allocation decides
    return uint64_t(pages) * uint64_t(pageBytes);
}

bool imagesFitHost(const FrameShape& shape, uint32_t width, uint32_t height, uint64_t frames) {
    const uint64_t pixels = uint64_t(width) * height;
    const uint64_t pixelBytes = uint64_t(shape.samplesPerPixel) * shape.bytesPerSample;
    if (pixels != 0 && pixelBytes > UINT64_MAX / pixels) return false;
    const uint64_t frameBytes = pixels * pixelBytes;
    if (frames != 0 && frameBytes > UINT64_MAX / frames) return false;
    return frameBytes * frames <= hostMemoryBytes();
}

void keepStackFrames(mxArray* stack, const FrameShape& shape, uint32_t width, uint32_t height, mwSize frames) {
    mwSize dimensions[4];
    const mwSize count = imageDimensions(shape, width, height, true, frames, dimensions);
    mxSetDimensions(stack, dimensions, count);
}

ImageTarget createImageOutput(mxArray** slot, const FrameShape& shape, uint32_t width, uint32_t height) {
    *slot = createImageArray(shape, width, height);
    return ImageTarget(shape, width, height, mxGetData(*slot));
}
