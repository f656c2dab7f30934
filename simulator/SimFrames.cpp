#include "SimFrames.h"

#include <algorithm>
#include <cstring>

namespace {

// What one frame's samples are: row r is row 0 plus r times rowStep,
// modulo the sample's range, so only row 0 is computed sample by sample
// and every other row is one vector add away from it.
struct RampRule {
    uint32_t pixelStep;
    uint32_t channelStep;
    uint32_t rowStep;
    uint32_t frameStep;
};

constexpr RampRule kRamp8 = {1, 85, 3, 8};
constexpr RampRule kRamp16 = {7, 21845, 131, 256};

const RampRule& rampOf(const SimFrameFormat& format) { return format.bytesPerSample == 2 ? kRamp16 : kRamp8; }

template <typename Sample>
void writeSample(unsigned char* at, uint32_t value) {
    const auto sample = static_cast<Sample>(value);
    std::memcpy(at, &sample, sizeof sample);
}

// The first `samples` samples of row 0.
template <typename Sample>
void renderFirstRow(const RampRule& rule, uint32_t channels, uint32_t frameNumber, size_t samples,
                    unsigned char* row) {
    const uint32_t base = rule.frameStep * frameNumber;
    size_t written = 0;
    for (uint32_t pixel = 0; written < samples; ++pixel)
        for (uint32_t channel = 0; channel < channels && written < samples; ++channel, ++written)
            writeSample<Sample>(row + written * sizeof(Sample),
                                base + rule.pixelStep * pixel + rule.channelStep * channel);
}

// to[i] = from[i] + offset for `samples` samples, in the sample's own
// wrap-around arithmetic; both rows may lie at any address.
template <typename Sample>
void addToRow(const unsigned char* from, unsigned char* to, size_t samples, Sample offset) {
    typedef Sample Lanes __attribute__((vector_size(32)));
    constexpr size_t kLanes = sizeof(Lanes) / sizeof(Sample);
    size_t i = 0;
    for (; i + kLanes <= samples; i += kLanes) {
        Lanes lanes;
        std::memcpy(&lanes, from + i * sizeof(Sample), sizeof lanes);
        lanes += offset;
        std::memcpy(to + i * sizeof(Sample), &lanes, sizeof lanes);
    }
    for (; i < samples; ++i) {
        Sample sample;
        std::memcpy(&sample, from + i * sizeof(Sample), sizeof sample);
        sample = static_cast<Sample>(sample + offset);
        std::memcpy(to + i * sizeof(Sample), &sample, sizeof sample);
    }
}

// Rows 1 to rows - 1 of `rowSamples` samples each, from row 0.
template <typename Sample>
__attribute__((always_inline)) inline void addRowsFromFirst(unsigned char* bytes, size_t rowSamples, size_t rows,
                                                            uint32_t rowStep) {
    const size_t rowBytes = rowSamples * sizeof(Sample);
    for (size_t row = 1; row < rows; ++row)
        addToRow<Sample>(bytes, bytes + row * rowBytes, rowSamples, static_cast<Sample>(rowStep * row));
}

#if defined(__x86_64__) || defined(__i386__)
template <typename Sample>
__attribute__((target("avx2"))) void addRowsFromFirstAvx2(unsigned char* bytes, size_t rowSamples, size_t rows,
                                                            uint32_t rowStep) {
    addRowsFromFirst<Sample>(bytes, rowSamples, rows, rowStep);
}
#endif

// With AVX2 where the processor has it: the simulated driver must not be
// what limits a grab or a readout.
template <typename Sample>
void addRowsFromFirstFastest(unsigned char* bytes, size_t rowSamples, size_t rows, uint32_t rowStep) {
#if defined(__x86_64__) || defined(__i386__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) return addRowsFromFirstAvx2<Sample>(bytes, rowSamples, rows, rowStep);
#endif
    addRowsFromFirst<Sample>(bytes, rowSamples, rows, rowStep);
}

template <typename Sample>
size_t renderRows(const SimFrameFormat& format, uint32_t frameNumber, uint32_t width, uint32_t height,
                  unsigned char* bytes, size_t capacity) {
    const RampRule& rule = rampOf(format);
    const size_t rowSamples = size_t(width) * format.channels;
    const size_t room = capacity / sizeof(Sample);  // whole samples that fit
    if (rowSamples == 0 || height == 0 || room == 0) return 0;
    const size_t firstRowSamples = std::min(rowSamples, room);
    renderFirstRow<Sample>(rule, format.channels, frameNumber, firstRowSamples, bytes);
    if (firstRowSamples < rowSamples) return firstRowSamples * sizeof(Sample);
    const size_t rowBytes = rowSamples * sizeof(Sample);
    const size_t wholeRows = std::min<size_t>(height, room / rowSamples);
    addRowsFromFirstFastest<Sample>(bytes, rowSamples, wholeRows, rule.rowStep);
    if (wholeRows == height) return wholeRows * rowBytes;
    const size_t rest = room - wholeRows * rowSamples;  // less than a row
    addToRow<Sample>(bytes, bytes + wholeRows * rowBytes, rest, static_cast<Sample>(rule.rowStep * wholeRows));
    return (wholeRows * rowSamples + rest) * sizeof(Sample);
}

}  // namespace

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
    const SimFrameFormat format = simFrameFormat(pixelFormat, kind);
    const RampRule& rule = rampOf(format);
    const uint32_t mask = format.bytesPerSample == 2 ? 0xFFFFu : 0xFFu;
    return (rule.pixelStep * pixel + rule.rowStep * line + rule.frameStep * frameNumber + rule.channelStep * channel) &
           mask;
}

size_t simRenderFrame(uint32_t pixelFormat, SimFrameKind kind, uint32_t frameNumber, uint32_t width, uint32_t height,
                      void* destination, size_t capacity) {
    const SimFrameFormat format = simFrameFormat(pixelFormat, kind);
    auto* bytes = static_cast<unsigned char*>(destination);
    if (format.bytesPerSample == 2) return renderRows<uint16_t>(format, frameNumber, width, height, bytes, capacity);
    return renderRows<uint8_t>(format, frameNumber, width, height, bytes, capacity);
}
