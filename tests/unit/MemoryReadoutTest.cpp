// "MemoryReadData": position and segment addressing, the examined reads
// around the readout, image shapes, and a destination that is never
// overrun.
#include "RecordingFixture.h"
#include "SimFrames.h"
#include "acquisition/Readout.h"

#include <cstring>

namespace {

constexpr uint32_t kWidth = 5;
constexpr uint32_t kHeight = 3;

class MemoryReadout : public RecordingFixture {
protected:
    testhost::CallResult readData(uint32_t cameraId, double low, double high, double segment) {
        return run(2, "MemoryReadData", {double(cameraId), low, high, segment});
    }

    static void useSmallFrames(uint32_t cameraId, uint32_t pixelFormat) {
        setParameter(cameraId, kSimParamWidth, kWidth);
        setParameter(cameraId, kSimParamHeight, kHeight);
        setParameter(cameraId, kSimParamPixelFormat, pixelFormat);
    }

    // The readout call's position and index.
    static std::pair<uint64_t, uint64_t> readoutArguments() {
        for (const SimCall& call : simCallLog())
            if (call.operation == "drvReadMemory") return {call.arguments[1], call.arguments[2]};
        ADD_FAILURE() << "no drvReadMemory";
        return {0, 0};
    }

    // The operation and the parameter or item it reads: "drvGetParameter 15".
    static std::string readOf(const SimCall& call) {
        const std::string name = simOperationName(call.operation);
        if (call.operation == "drvReadMemory") return name;
        const size_t number = call.operation == "drvGetCameraInfo" ? 1 : 2;
        return name + " " + std::to_string(call.arguments[number]);
    }

    // The image that frame `frameNumber` must give: plane k of a colour
    // image holds channel 2 - k.
    template <typename Sample>
    static std::vector<Sample> expectedImage(uint32_t pixelFormat, uint32_t frameNumber, uint32_t planes) {
        std::vector<Sample> image(size_t(kWidth) * kHeight * planes);
        for (uint32_t k = 0; k < planes; ++k)
            for (uint32_t c = 0; c < kWidth; ++c)
                for (uint32_t r = 0; r < kHeight; ++r)
                    image[k * kWidth * kHeight + c * kHeight + r] = static_cast<Sample>(
                        simFrameSample(pixelFormat, frameNumber, r, c, planes == 1 ? 0 : 2 - k, SimFrameKind::Readout));
        return image;
    }

    template <typename Sample>
    static std::vector<Sample> imageOf(const mxArray& array) {
        std::vector<Sample> samples(array.elementCount());
        std::memcpy(samples.data(), array.bytes.data(), samples.size() * sizeof(Sample));
        return samples;
    }
};

TEST_F(MemoryReadout, PositionIsHighWordTimesTwoToThe32PlusLowWord) {
    ASSERT_EQ(addAndOpen(2012, 12, true), 0u);
    simClearCallLog();
    EXPECT_EQ(readData(2012, 5, 1, 2).word(0), 13u) << "nothing recorded there";
    EXPECT_EQ(readoutArguments(), (std::pair<uint64_t, uint64_t>{(uint64_t(1) << 32) + 5, 2}));

    simClearCallLog();
    readData(2012, -1, 0, 0);
    EXPECT_EQ(readoutArguments(), (std::pair<uint64_t, uint64_t>{0xFFFFFFFFu, 0}));
}

TEST_F(MemoryReadout, FramesComeBackByPositionAndIndexWithTheirNumbers) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    useSmallFrames(kSimColourCameraId, 1);
    record(kSimColourCameraId, 6);
    const std::vector<uint32_t> frames = memoryFrames(kSimColourCameraId);
    ASSERT_EQ(frames.size(), 6u);

    for (uint32_t position = 0; position < 6; ++position) {
        testhost::CallResult result = readData(kSimColourCameraId, position, 0, 0);
        ASSERT_EQ(result.word(0), 0u);
        EXPECT_EQ(result.output(1).classId, mxUINT16_CLASS);
        EXPECT_EQ(result.output(1).dimensions, (std::vector<mwSize>{kHeight, kWidth}));
        EXPECT_EQ(imageOf<uint16_t>(result.output(1)), expectedImage<uint16_t>(1, frames[position], 1)) << position;
        EXPECT_EQ(imageOf<uint16_t>(result.output(1))[0], uint16_t(256 * frames[position]));
    }
    testhost::CallResult result = readData(kSimColourCameraId, 2, 0, 3);  // index counts on from the position
    EXPECT_EQ(imageOf<uint16_t>(result.output(1)), expectedImage<uint16_t>(1, frames[5], 1));
    EXPECT_EQ(readData(kSimColourCameraId, 6, 0, 0).word(0), 13u);
}

TEST_F(MemoryReadout, TheExaminedReadsStandAroundTheReadout) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    record(kSimColourCameraId, 1);
    simClearCallLog();
    ASSERT_EQ(readData(kSimColourCameraId, 0, 0, 0).word(0), 0u);
    std::vector<std::string> parts;
    for (const SimCall& call : simCallLog()) parts.push_back(readOf(call));
    EXPECT_EQ(parts, (std::vector<std::string>{
                         "drvGetParameter 15", "drvGetParameter 16",                                    // image size
                         "drvGetParameter 2", "drvGetParameterLimit 2", "drvGetParameterLimit 2",      // format
                         "drvGetCameraInfo 0", "drvGetCameraInfo 12", "drvGetParameter 11",
                         "drvGetParameter 16", "drvGetCameraInfo 24", "drvReadMemory", "drvGetParameter 15"}));
}

TEST_F(MemoryReadout, AFailedWidthReadAfterTheReadoutAnswers7WithTheFrame) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    useSmallFrames(kSimColourCameraId, 7);
    record(kSimColourCameraId, 3);
    const uint32_t frameNumber = memoryFrames(kSimColourCameraId)[2];
    simForceResultAfter("drvGetParameter", 5, 1);  // size 2, format 1, then 11 and 16
    testhost::CallResult result = readData(kSimColourCameraId, 2, 0, 0);
    EXPECT_EQ(result.word(0), 7u);
    EXPECT_EQ(simCallLog().back().operation, "drvGetParameter");
    EXPECT_EQ(result.output(1).classId, mxUINT16_CLASS);
    EXPECT_EQ(result.output(1).dimensions, (std::vector<mwSize>{kHeight, kWidth, 3}));
    EXPECT_EQ(imageOf<uint16_t>(result.output(1)), expectedImage<uint16_t>(7, frameNumber, 3));
}

TEST_F(MemoryReadout, SegmentedCamerasReadTheTableEntryWithIndexZero) {
    ASSERT_EQ(open(kSimSegmentedCameraId), 0u);
    useSmallFrames(kSimSegmentedCameraId, 0);
    record(kSimSegmentedCameraId, 8, 3);  // segments begin at 0, 2, 4, 6
    const std::vector<uint32_t> frames = memoryFrames(kSimSegmentedCameraId);
    simClearCallLog();
    testhost::CallResult result = readData(kSimSegmentedCameraId, 1, 1, 3);
    EXPECT_EQ(result.word(0), 0u);
    EXPECT_EQ(readoutArguments(), (std::pair<uint64_t, uint64_t>{6, 0}));
    EXPECT_EQ(imageOf<uint8_t>(result.output(1)), expectedImage<uint8_t>(0, frames[6], 1));

    // Item 24 = 4: the caller's position and the segment number as index.
    setInfo(kSimSegmentedCameraId, kSimInfoAddressing, 4);
    simClearCallLog();
    readData(kSimSegmentedCameraId, 1, 0, 3);
    EXPECT_EQ(readoutArguments(), (std::pair<uint64_t, uint64_t>{1, 3}));
}

TEST_F(MemoryReadout, ASegmentNumberPastTheTableAnswers13WithoutReadout) {
    ASSERT_EQ(open(kSimSegmentedCameraId), 0u);
    record(kSimSegmentedCameraId, 2);
    simClearCallLog();
    EXPECT_EQ(readData(kSimSegmentedCameraId, 0, 0, kSegmentTableEntries).word(0), 13u);
    EXPECT_EQ(simCallCount("drvReadMemory"), 0);
    EXPECT_EQ(simCallLog().back().operation, "drvGetCameraInfo");

    EXPECT_EQ(readData(kSimSegmentedCameraId, 0, 0, kSegmentTableEntries - 1).word(0), 0u) << "entry 0 reads position 0";
    EXPECT_EQ(readData(kSimSegmentedCameraId, 0, 0, -1).word(0), 13u);
}

TEST_F(MemoryReadout, ColourLessCamerasRefuseLayoutsTheyCannotDeliver) {
    ASSERT_EQ(open(kSimMonoCameraId), 0u);  // type 2
    useSmallFrames(kSimMonoCameraId, 1);
    record(kSimMonoCameraId, 1);
    testhost::CallResult result = readData(kSimMonoCameraId, 0, 0, 0);
    EXPECT_EQ(result.word(0), 18u);
    EXPECT_EQ(result.output(1).classId, mxUINT16_CLASS);
    EXPECT_EQ(imageOf<uint16_t>(result.output(1)), std::vector<uint16_t>(kWidth * kHeight, 0));
    EXPECT_EQ(simCallCount("drvReadMemory"), 0);

    ASSERT_EQ(open(kSimSegmentedCameraId), 0u);  // type 19, colour-less
    useSmallFrames(kSimSegmentedCameraId, 1);
    record(kSimSegmentedCameraId, 1);
    EXPECT_EQ(readData(kSimSegmentedCameraId, 0, 0, 0).word(0), 0u) << "16-bit mono is fine on other types";
    setParameter(kSimSegmentedCameraId, kSimParamPixelFormat, 2);
    EXPECT_EQ(readData(kSimSegmentedCameraId, 0, 0, 0).word(0), 3u);
    EXPECT_EQ(simCallCount("drvReadMemory"), 1);
}

// A driver frame longer than the image (frameExcess) at the widest format:
// the simulated driver writes no more than three 16-bit samples a pixel,
// the readout buffer's size, and the image is the frame's.
TEST_F(MemoryReadout, TheDestinationIsNeverWrittenPastItsEnd) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    useSmallFrames(kSimColourCameraId, 7);
    record(kSimColourCameraId, 1);
    const uint32_t frameNumber = memoryFrames(kSimColourCameraId)[0];
    simConfigureCamera(kSimColourCameraId, [](SimCamera& camera) { camera.overrides.frameExcess = 1000; });
    testhost::CallResult result = readData(kSimColourCameraId, 0, 0, 0);
    EXPECT_EQ(result.word(0), 0u);
    EXPECT_EQ(imageOf<uint16_t>(result.output(1)), expectedImage<uint16_t>(7, frameNumber, 3));

    const size_t bound = size_t(kWidth) * kHeight * kMaxReadoutBytesPerPixel;
    std::vector<unsigned char> destination(bound + 64, 0x5A);
    EXPECT_EQ(drvReadMemory(handleOf(kSimColourCameraId), 0, 0, destination.data()), 0u);
    EXPECT_EQ(std::vector<unsigned char>(destination.begin() + bound, destination.end()),
              std::vector<unsigned char>(64, 0x5A));
}

TEST_F(MemoryReadout, AnUnreadableFrameSizeGivesAnEmptyImageAndNoReadout) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    record(kSimColourCameraId, 1);
    simForceResult("drvGetParameter", 1);  // the handler's width read
    testhost::CallResult result = readData(kSimColourCameraId, 0, 0, 0);
    EXPECT_EQ(result.word(0), 7u);
    EXPECT_EQ(result.output(1).elementCount(), 0u);
    EXPECT_EQ(simCallCount("drvReadMemory"), 0);
}

TEST_F(MemoryReadout, ZeroSizedFramesAreReadIntoEmptyImages) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    setParameter(kSimColourCameraId, kSimParamWidth, 0);
    record(kSimColourCameraId, 1);
    testhost::CallResult result = readData(kSimColourCameraId, 0, 0, 0);
    EXPECT_EQ(result.word(0), 0u);
    EXPECT_EQ(result.output(1).elementCount(), 0u);
    EXPECT_EQ(simCallCount("drvReadMemory"), 1);
}

TEST_F(MemoryReadout, FrameBoundCoversThreeSixteenBitSamplesPerPixel) {
    EXPECT_EQ(readoutFrameBound(kWidth, kHeight), size_t(kWidth) * kHeight * 6);
    EXPECT_EQ(readoutFrameBound(0, 480), 0u);
    EXPECT_EQ(readoutFrameBound(0xFFFFFFFFu, 0xFFFFFFFFu), 0u) << "overflow is no bound";
}

}  // namespace
