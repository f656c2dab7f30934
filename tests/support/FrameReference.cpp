#include "FrameReference.h"

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
