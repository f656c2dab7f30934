#include "SimFrames.h"

#include <cstring>

SimFrameFormat simFrameFormat(uint32_t pixelFormat, SimFrameKind kind) {
    if (kind == SimFrameKind::Readout) {
        switch (pixelFormat) {
            case 0: return {1, 1};
            case 1: return {1, 2};
            case 7: return {3, 2};
            default: return {3, 1};
        }
    }
    switch (pixelFormat) {
        case 0:
        case 5: return {1, 1};
        case 1:
        case 6: return {1, 2};
        case 2: return {3, 1};
        default: return {4, 1};
    }
}

uint32_t simFrameSample(uint32_t pixelFormat, uint32_t frameNumber, uint32_t line, uint32_t pixel, uint32_t channel,
                        SimFrameKind kind) {
    if (simFrameFormat(pixelFormat, kind).bytesPerSample == 2)
        return (7u * pixel + 131u * line + 256u * frameNumber + 21845u * channel) & 0xFFFFu;
    return (pixel + 3u * line + 8u * frameNumber + 85u * channel) & 0xFFu;
}

size_t simRenderFrame(uint32_t pixelFormat, SimFrameKind kind, uint32_t frameNumber, uint32_t width, uint32_t height,
                      void* destination, size_t capacity) {
    const SimFrameFormat format = simFrameFormat(pixelFormat, kind);
    auto* bytes = static_cast<unsigned char*>(destination);
    size_t written = 0;
    for (uint32_t line = 0; line < height; ++line) {
        for (uint32_t pixel = 0; pixel < width; ++pixel) {
            for (uint32_t channel = 0; channel < format.channels; ++channel) {
                if (written + format.bytesPerSample > capacity) return written;
                uint32_t value = simFrameSample(pixelFormat, frameNumber, line, pixel, channel, kind);
                if (format.bytesPerSample == 2) {
                    uint16_t sample = static_cast<uint16_t>(value);
                    std::memcpy(bytes + written, &sample, 2);
                } else {
                    bytes[written] = static_cast<unsigned char>(value);
                }
                written += format.bytesPerSample;
            }
        }
    }
    return written;
}
