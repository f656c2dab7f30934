#include "ImageOutput.h"

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

void keepStackFrames(mxArray* stack, const FrameShape& shape, uint32_t width, uint32_t height, mwSize frames) {
    mwSize dimensions[4];
    const mwSize count = imageDimensions(shape, width, height, true, frames, dimensions);
    mxSetDimensions(stack, dimensions, count);
}

ImageTarget createImageOutput(mxArray** slot, const FrameShape& shape, uint32_t width, uint32_t height) {
    *slot = createImageArray(shape, width, height);
    return ImageTarget(shape, width, height, mxGetData(*slot));
}
