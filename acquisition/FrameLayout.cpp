#include "FrameLayout.h"

#include "camera/CameraTypes.h"

#include <cstring>

FrameShape selectFrameShape(uint32_t pixelFormat, FrameFamily family) {
    FrameShape shape;
    if (pixelFormat == kPixelFormatMono8) return shape;
    if (pixelFormat == kPixelFormatMono16) {
        shape.sampleType = SampleType::UInt16;
        shape.layoutCode = LayoutMono16;
        shape.bytesPerSample = 2;
        return shape;
    }
    shape.dimensionCount = 3;
    shape.dimensions[2] = 3;
    shape.layoutCode = LayoutThreeSamples;
    shape.samplesPerPixel = 3;
    if (pixelFormat == kPixelFormatWide && family == FrameFamily::Readout) {
        shape.sampleType = SampleType::UInt16;
        shape.bytesPerSample = 2;
    }
    return shape;
}

namespace {

template <typename Sample>
void referenceLoop(uint32_t samplesPerPixel, uint32_t width, uint32_t height, const Sample* scratch, Sample* output) {
    const size_t pixels = size_t(width) * height;
    for (uint32_t r = 0; r < height; ++r) {
        for (uint32_t c = 0; c < width; ++c) {
            const size_t pixel = size_t(r) * width + c;
            const size_t target = size_t(c) * height + r;
            if (samplesPerPixel == 1) {
                output[target] = scratch[pixel];
            } else {
                for (uint32_t k = 0; k < 3; ++k) output[k * pixels + target] = scratch[pixel * 3 + (2 - k)];
            }
        }
    }
}

}  // namespace

void convertFrameReference(const FrameShape& shape, uint32_t width, uint32_t height, const void* scratch,
                           void* output) {
    if (shape.bytesPerSample == 2)
        referenceLoop(shape.samplesPerPixel, width, height, static_cast<const uint16_t*>(scratch),
                      static_cast<uint16_t*>(output));
    else
        referenceLoop(shape.samplesPerPixel, width, height, static_cast<const uint8_t*>(scratch),
                      static_cast<uint8_t*>(output));
}

ResultCode monoCameraLayoutCheck(uint32_t cameraType, uint32_t layoutCode) {
    if (cameraType == kMonoOnlyCameraType) return layoutCode == 0 || layoutCode == 5 ? ResultOk : ResultFormatNotSupported;
    const bool mono = layoutCode == 0 || layoutCode == 1 || layoutCode == 5 || layoutCode == 6;
    return mono ? ResultOk : ResultFormatNotMono;
}
