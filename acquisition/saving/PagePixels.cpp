#include "PagePixels.h"

#include <algorithm>
#include <cstring>

namespace {

template <typename T>
void swapOuterChannels(T* samples, size_t pixels) {
    for (size_t p = 0; p < pixels; ++p, samples += 3) std::swap(samples[0], samples[2]);
}

}  // namespace

void framePagePixels(const FrameShape& shape, uint32_t width, uint32_t height, const unsigned char* frame,
                     size_t delivered, unsigned char* page) {
    const size_t bytes = shape.frameBytes(width, height);
    const size_t copied = std::min(delivered, bytes);
    std::memcpy(page, frame, copied);
    std::memset(page + copied, 0, bytes - copied);
    if (shape.samplesPerPixel != 3) return;
    const size_t pixels = size_t(width) * height;
    if (shape.bytesPerSample == 2)
        swapOuterChannels(reinterpret_cast<uint16_t*>(page), pixels);
    else
        swapOuterChannels(page, pixels);
}
