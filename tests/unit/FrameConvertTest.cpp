// Image shapes by PixelFormat and family, the conversion's worked cases,
// and every instruction-set path against the plain loop on random frames.
#include "TestHost.h"
#include "acquisition/ConversionHelper.h"
#include "acquisition/FrameConvertPaths.h"
#include "FrameReference.h"
#include "acquisition/FrameLayout.h"
#include "acquisition/ImageTarget.h"
#include "gateway/ImageOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

struct ShapeRow {
    uint32_t pixelFormat;
    FrameFamily family;
    mxClassID classId;
    mwSize dimensionCount;
    uint32_t layoutCode;
    uint32_t bytesPerSample;
    uint32_t samplesPerPixel;
};

TEST(FrameShapeSelection, EveryPixelFormatOfBothFamilies) {
    const ShapeRow rows[] = {
        {0, FrameFamily::Live, mxUINT8_CLASS, 2, 0, 1, 1},      {0, FrameFamily::Readout, mxUINT8_CLASS, 2, 0, 1, 1},
        {1, FrameFamily::Live, mxUINT16_CLASS, 2, 1, 2, 1},     {1, FrameFamily::Readout, mxUINT16_CLASS, 2, 1, 2, 1},
        {7, FrameFamily::Live, mxUINT8_CLASS, 3, 2, 1, 3},      {7, FrameFamily::Readout, mxUINT16_CLASS, 3, 2, 2, 3},
        {2, FrameFamily::Readout, mxUINT8_CLASS, 3, 2, 1, 3},   {5, FrameFamily::Live, mxUINT8_CLASS, 3, 2, 1, 3},
        {6, FrameFamily::Readout, mxUINT8_CLASS, 3, 2, 1, 3},   {8, FrameFamily::Live, mxUINT8_CLASS, 3, 2, 1, 3},
        {0xFFFFFFFF, FrameFamily::Readout, mxUINT8_CLASS, 3, 2, 1, 3},
    };
    for (const ShapeRow& row : rows) {
        FrameShape shape = selectFrameShape(row.pixelFormat, row.family);
        shape.setSize(640, 480);
        const std::string name = "PixelFormat " + std::to_string(row.pixelFormat);
        EXPECT_EQ(imageClass(shape.sampleType), row.classId) << name;
        EXPECT_EQ(shape.dimensionCount, row.dimensionCount) << name;
        EXPECT_EQ(shape.dimensions[0], 480u) << name;
        EXPECT_EQ(shape.dimensions[1], 640u) << name;
        if (row.dimensionCount == 3) {
            EXPECT_EQ(shape.dimensions[2], 3u) << name;
        }
        EXPECT_EQ(uint32_t(shape.layoutCode), row.layoutCode) << name;
        EXPECT_EQ(shape.bytesPerSample, row.bytesPerSample) << name;
        EXPECT_EQ(shape.samplesPerPixel, row.samplesPerPixel) << name;
        EXPECT_EQ(shape.frameBytes(640, 480), size_t(640) * 480 * row.bytesPerSample * row.samplesPerPixel) << name;
    }
}

// Every available instruction-set path, with cached and with streamed
// output stores.
struct Variant {
    ConvertPath path;
    OutputStores stores;
};

std::vector<Variant> variants() {
    std::vector<Variant> all;
    for (ConvertPath path : {ConvertPath::Portable, ConvertPath::Sse2, ConvertPath::Avx2})
        if (convertPathAvailable(path))
            for (OutputStores stores : {OutputStores::Cached, OutputStores::Streamed}) all.push_back({path, stores});
    return all;
}

std::string variantName(Variant variant) {
    const char* path = variant.path == ConvertPath::Portable ? "portable"
                       : variant.path == ConvertPath::Sse2   ? "sse2"
                                                             : "avx2";
    return std::string(path) + (variant.stores == OutputStores::Streamed ? " streamed" : " cached");
}

void convertOn(Variant variant, const FrameShape& shape, uint32_t width, uint32_t height, const void* scratch,
               void* output) {
    convertFrameOn(variant.path, variant.stores, shape, width, height, scratch, output);
}

// Runs the conversion on every path plus the reference; all must give the
// expected bytes.
template <typename T>
void expectConversion(uint32_t pixelFormat, uint32_t width, uint32_t height, const std::vector<T>& scratch,
                      const std::vector<T>& expected) {
    const FrameShape shape = selectFrameShape(pixelFormat, FrameFamily::Readout);
    std::vector<T> output(expected.size(), T(0x5A));
    convertFrameReference(shape, width, height, scratch.data(), output.data());
    EXPECT_EQ(output, expected) << "reference";
    for (Variant variant : variants()) {
        std::fill(output.begin(), output.end(), T(0x5A));
        convertOn(variant, shape, width, height, scratch.data(), output.data());
        EXPECT_EQ(output, expected) << variantName(variant);
    }
}

TEST(FrameConversion, MonoFrameKeepsItsOrientationInColumnMajorOrder) {
    // line 0: a b c; line 1: d e f -> memory order a d b e c f
    expectConversion<uint8_t>(0, 3, 2, {'a', 'b', 'c', 'd', 'e', 'f'}, {'a', 'd', 'b', 'e', 'c', 'f'});
}

TEST(FrameConversion, ColourPlanesTakeTheChannelsInReverseOrder) {
    expectConversion<uint8_t>(2, 1, 1, {'x', 'y', 'z'}, {'z', 'y', 'x'});
    // Two lines of two pixels: plane k, column c, row r at k*4 + c*2 + r.
    expectConversion<uint16_t>(7, 2, 2, {10, 11, 12, 20, 21, 22, 30, 31, 32, 40, 41, 42},
                               {12, 32, 22, 42, 11, 31, 21, 41, 10, 30, 20, 40});
}

TEST(FrameConversion, SixteenBitSamplesKeepTheirValue) {
    expectConversion<uint16_t>(1, 2, 1, {258, 65535}, {258, 65535});
}

TEST(FrameConversion, EmptyFramesWriteNothing) {
    for (Variant variant : variants()) {
        for (uint32_t pixelFormat : {0u, 1u, 2u, 7u}) {
            const FrameShape shape = selectFrameShape(pixelFormat, FrameFamily::Readout);
            const std::vector<uint8_t> untouched = {1, 2, 3, 4, 5, 6, 7, 8};
            std::vector<uint8_t> guard = untouched;
            convertOn(variant, shape, 0, 37, guard.data(), guard.data());
            convertOn(variant, shape, 41, 0, guard.data(), guard.data());
            convertOn(variant, shape, 0, 0, nullptr, nullptr);
            EXPECT_EQ(guard, untouched) << variantName(variant);
        }
    }
}

// Random frames of awkward sizes: every path equals the plain loop and
// writes nothing past the output.
template <typename T>
void compareOnRandomFrames(uint32_t pixelFormat) {
    const uint32_t sizes[] = {1, 2, 3, 7, 15, 16, 17, 31, 32, 33, 63, 64, 65, 97, 127, 128, 131};
    const FrameShape shape = selectFrameShape(pixelFormat, FrameFamily::Readout);
    std::mt19937 random(pixelFormat * 7919 + 1);
    constexpr size_t kGuard = 64;
    for (uint32_t width : sizes) {
        for (uint32_t height : sizes) {
            if ((width * 31 + height) % 3 != 0 && width > 3 && height > 3) continue;  // a spread, not every pair
            const size_t samples = size_t(width) * height * shape.samplesPerPixel;
            std::vector<T> scratch(samples);
            for (T& sample : scratch) sample = static_cast<T>(random());
            std::vector<T> expected(samples + kGuard, T(0xA5));
            convertFrameReference(shape, width, height, scratch.data(), expected.data());
            for (Variant variant : variants()) {
                std::vector<T> output(samples + kGuard, T(0xA5));
                convertOn(variant, shape, width, height, scratch.data(), output.data());
                ASSERT_EQ(output, expected) << variantName(variant) << " " << width << "x" << height;
            }
        }
    }
}

TEST(FrameConversion, EveryPathMatchesThePlainLoopOnMono8) { compareOnRandomFrames<uint8_t>(0); }
TEST(FrameConversion, EveryPathMatchesThePlainLoopOnMono16) { compareOnRandomFrames<uint16_t>(1); }
TEST(FrameConversion, EveryPathMatchesThePlainLoopOnColour8) { compareOnRandomFrames<uint8_t>(2); }
TEST(FrameConversion, EveryPathMatchesThePlainLoopOnColour16) { compareOnRandomFrames<uint16_t>(7); }

// Columns of whole lines are converted in blocks aligned to the output's
// lines (and streamed lines must be whole): with the output starting at
// every offset within a line, every variant goes right and writes nothing
// outside the output.
template <typename T>
void compareWholeLinesAtEveryAlignment(uint32_t pixelFormat) {
    const FrameShape shape = selectFrameShape(pixelFormat, FrameFamily::Readout);
    std::mt19937 random(pixelFormat);
    constexpr size_t kLine = 64 / sizeof(T);
    for (uint32_t height : {uint32_t(kLine), uint32_t(3 * kLine)}) {
        for (uint32_t width : {1u, 130u}) {
            const size_t samples = size_t(width) * height * shape.samplesPerPixel;
            std::vector<T> scratch(samples);
            for (T& sample : scratch) sample = static_cast<T>(random());
            std::vector<T> expected(samples);
            convertFrameReference(shape, width, height, scratch.data(), expected.data());
            for (size_t offset = 0; offset < kLine; ++offset) {
                alignas(64) static T area[3 * 64 * 130 * 3 + 2 * 64];
                T* output = area + kLine + offset;
                for (Variant variant : variants()) {
                    std::fill(std::begin(area), std::end(area), T(0xA5));
                    convertOn(variant, shape, width, height, scratch.data(), output);
                    const std::string name = variantName(variant) + " " + std::to_string(width) + "x" +
                                             std::to_string(height) + " at +" + std::to_string(offset);
                    ASSERT_TRUE(std::equal(expected.begin(), expected.end(), output)) << name;
                    ASSERT_TRUE(std::all_of(area, output, [](T v) { return v == T(0xA5); })) << name;
                    ASSERT_TRUE(std::all_of(output + samples, std::end(area), [](T v) { return v == T(0xA5); }))
                        << name;
                }
            }
        }
    }
}

TEST(FrameConversion, WholeLineOutputAtEveryAlignmentMatches) {
    compareWholeLinesAtEveryAlignment<uint8_t>(0);
    compareWholeLinesAtEveryAlignment<uint16_t>(1);
    compareWholeLinesAtEveryAlignment<uint8_t>(2);
    compareWholeLinesAtEveryAlignment<uint16_t>(7);
}

// 1024 x 4096 is streamed in every format.
TEST(FrameConversion, LargeFramesWithPowerOfTwoAndOddRowsMatch) {
    const uint32_t sizes[][2] = {{1024, 64}, {640, 480}, {256, 1}, {1, 300}, {333, 257}, {1024, 4096}};
    for (uint32_t pixelFormat : {0u, 1u, 2u, 7u}) {
        const FrameShape shape = selectFrameShape(pixelFormat, FrameFamily::Readout);
        for (const auto& size : sizes) {
            const size_t bytes = shape.frameBytes(size[0], size[1]);
            std::vector<uint8_t> scratch(bytes), expected(bytes), output(bytes);
            for (size_t i = 0; i < bytes; ++i) scratch[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
            convertFrameReference(shape, size[0], size[1], scratch.data(), expected.data());
            convertFrame(shape, size[0], size[1], scratch.data(), output.data());
            ASSERT_EQ(output, expected) << pixelFormat << ": " << size[0] << "x" << size[1];
        }
    }
}

// The helper thread takes the lower rows from a whole output line on; odd
// heights, a one-sample misaligned output and every path and store kind.
TEST(FrameConversion, TwoThreadsMatchTheReferenceOnAwkwardSizes) {
    const uint32_t sizes[][2] = {{333, 257}, {1, 300}, {64, 129}, {130, 1000}};
    for (uint32_t pixelFormat : {0u, 1u, 2u, 7u}) {
        const FrameShape shape = selectFrameShape(pixelFormat, FrameFamily::Readout);
        for (const auto& size : sizes) {
            const size_t bytes = shape.frameBytes(size[0], size[1]);
            std::vector<uint8_t> scratch(bytes), expected(bytes), output(bytes + shape.bytesPerSample);
            for (size_t i = 0; i < bytes; ++i) scratch[i] = static_cast<uint8_t>(i * 2654435761u >> 11);
            convertFrameReference(shape, size[0], size[1], scratch.data(), expected.data());
            for (Variant variant : variants()) {
                uint8_t* misaligned = output.data() + shape.bytesPerSample;
                convertFrameOn(variant.path, variant.stores, shape, size[0], size[1], scratch.data(), misaligned, 2);
                ASSERT_TRUE(std::equal(expected.begin(), expected.end(), misaligned))
                    << variantName(variant) << ", format " << pixelFormat << ": " << size[0] << "x" << size[1];
            }
        }
    }
}

// The helper is parked between frames and may be stopped between them (as
// the module does before it is unloaded): the next frame starts it again.
TEST(FrameConversion, TwoThreadsAfterTheHelperWasStopped) {
    const FrameShape shape = selectFrameShape(2, FrameFamily::Live);
    const uint32_t width = 640, height = 480;
    std::vector<uint8_t> scratch(shape.frameBytes(width, height)), expected(scratch.size());
    for (size_t i = 0; i < scratch.size(); ++i) scratch[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
    convertFrameReference(shape, width, height, scratch.data(), expected.data());
    for (int round = 0; round < 3; ++round) {
        std::vector<uint8_t> output(scratch.size(), 0);
        convertFrameOn(selectedConvertPath(), OutputStores::BySize, shape, width, height, scratch.data(),
                       output.data(), 2);
        EXPECT_EQ(output, expected) << round;
        stopConversionHelper();
    }
}

// Images are created unwritten (the test host fills them with a pattern)
// and must come out whole: the delivered bytes converted, zeros after them,
// a sample cut short keeping the bytes it has.
TEST(ImageOutputs, AShortDeliveryConvertsAsIfZerosFollowedIt) {
    for (uint32_t pixelFormat : {0u, 1u, 2u, 7u}) {
        const FrameShape shape = selectFrameShape(pixelFormat, FrameFamily::Readout);
        for (const auto& size : {std::pair<uint32_t, uint32_t>{5, 3}, {70, 131}}) {
            const size_t bytes = shape.frameBytes(size.first, size.second);
            const size_t line = bytes / size.second;
            std::vector<uint8_t> frame(bytes);
            for (size_t i = 0; i < bytes; ++i) frame[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
            for (size_t delivered : {bytes, bytes - 1, size.second / 2 * line + 3, line, size_t(1)}) {
                std::vector<uint8_t> padded(frame.begin(), frame.begin() + delivered), expected(bytes);
                padded.resize(bytes, 0);
                convertFrameReference(shape, size.first, size.second, padded.data(), expected.data());
                std::unique_ptr<mxArray> image(createImageArray(shape, size.first, size.second));
                ASSERT_EQ(image->classId, imageClass(shape.sampleType));
                ASSERT_EQ(image->dimensions.size(), size_t(shape.dimensionCount));
                convertDeliveredFrame(shape, size.first, size.second, frame.data(), delivered, mxGetData(image.get()));
                EXPECT_EQ(image->bytes, expected) << pixelFormat << ": " << size.first << "x" << size.second << ", "
                                                   << delivered << " bytes";
            }
        }
    }
}

}  // namespace
