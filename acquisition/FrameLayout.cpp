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

ResultCode monoCameraLayoutCheck(uint32_t cameraType, uint32_t layoutCode) {
    if (cameraType == kMonoOnlyCameraType) return layoutCode == 0 || layoutCode == 5 ? ResultOk : ResultFormatNotSupported;
    const bool mono = layoutCode == 0 || layoutCode == 1 || layoutCode == 5 || layoutCode == 6;
    return mono ? ResultOk : ResultFormatNotMono;
}
