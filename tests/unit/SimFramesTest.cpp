// The simulator's row-at-a-time rendering against the documented
// per-sample rule, for every sample width and channel count, with
// capacities that cut a frame mid-row and mid-sample.
#include "SimFrames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

std::vector<uint8_t> renderedSampleBySample(uint32_t pixelFormat, SimFrameKind kind, uint32_t frameNumber,
                                            uint32_t width, uint32_t height, size_t capacity) {
    const SimFrameFormat format = simFrameFormat(pixelFormat, kind);
    std::vector<uint8_t> bytes;
    for (uint32_t r = 0; r < height; ++r)
        for (uint32_t c = 0; c < width; ++c)
            for (uint32_t ch = 0; ch < format.channels; ++ch) {
                if (bytes.size() + format.bytesPerSample > capacity) return bytes;
                // the ramp as SimFrames.h documents it
                const uint32_t value = format.bytesPerSample == 2
                                           ? (7 * c + 131 * r + 256 * frameNumber + 21845 * ch) % 65536
                                           : (c + 3 * r + 8 * frameNumber + 85 * ch) % 256;
                bytes.push_back(uint8_t(value));
                if (format.bytesPerSample == 2) bytes.push_back(uint8_t(value >> 8));  // little-endian host
            }
    return bytes;
}

TEST(SimFrames, RowsMatchTheSampleRuleWhereverTheCapacityEnds) {
    struct Case {
        uint32_t pixelFormat;
        SimFrameKind kind;
        uint32_t width, height;
    };
    const Case cases[] = {{0, SimFrameKind::Live, 1, 1},      {0, SimFrameKind::Live, 300, 40},
                          {7, SimFrameKind::Readout, 1, 70},  {1, SimFrameKind::Live, 200, 1},
                          {1, SimFrameKind::Live, 37, 9},     {2, SimFrameKind::Live, 21, 13},
                          {3, SimFrameKind::Live, 19, 5},     {7, SimFrameKind::Readout, 45, 11},
                          {4, SimFrameKind::Readout, 17, 3},  {1, SimFrameKind::Readout, 0, 8}};
    for (const Case& c : cases) {
        const size_t frameBytes = size_t(c.width) * c.height * simFrameFormat(c.pixelFormat, c.kind).bytesPerPixel();
        for (size_t capacity : {frameBytes + 9, frameBytes, frameBytes / 2 + 1, frameBytes - 1, size_t(1), size_t(0)}) {
            const auto expected = renderedSampleBySample(c.pixelFormat, c.kind, 301, c.width, c.height, capacity);
            std::vector<uint8_t> bytes(capacity + 1, 0xA5);  // one byte more: nothing past what was written
            const size_t written = simRenderFrame(c.pixelFormat, c.kind, 301, c.width, c.height, bytes.data() + 1,
                                                  capacity);
            ASSERT_EQ(written, expected.size()) << c.pixelFormat << " " << c.width << "x" << c.height << " " << capacity;
            EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes.begin() + 1)) << c.pixelFormat;
            EXPECT_TRUE(std::all_of(bytes.begin() + 1 + written, bytes.end(), [](uint8_t b) { return b == 0xA5; }));
        }
    }
}

}  // namespace
