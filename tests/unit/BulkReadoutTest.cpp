// "MemoryReadFrames" and "MemoryReadSegments": stacks equal to the frames
// "MemoryReadData" gives, the partial stack and status of a readout that
// stops, and reused buffers that never pass an earlier frame's bytes on.
#include "RecordingFixture.h"
#include "acquisition/Readout.h"

#include <cmath>
#include <cstring>

namespace {

class BulkReadout : public RecordingFixture {
protected:
    void SetUp() override {
        RecordingFixture::SetUp();
        ASSERT_EQ(open(kSimColourCameraId), 0u);
        useFrames(kSimColourCameraId, 7, 5, 0);
        record(kSimColourCameraId, 6);
    }

    static void useFrames(uint32_t cameraId, uint32_t width, uint32_t height, uint32_t pixelFormat) {
        setParameter(cameraId, kSimParamWidth, width);
        setParameter(cameraId, kSimParamHeight, height);
        setParameter(cameraId, kSimParamPixelFormat, pixelFormat);
    }

    // The image bytes MemoryReadData gives for each of the numbers, one after
    // another: what a stack of them must hold.
    std::vector<unsigned char> framesOneByOne(uint32_t cameraId, double low, uint32_t first, uint32_t count) {
        std::vector<unsigned char> bytes;
        for (uint32_t k = first; k < first + count; ++k) {
            testhost::CallResult one =
                low < 0 ? run(2, "MemoryReadData", {double(cameraId), 0, 0, double(k)})
                        : run(2, "MemoryReadData", {double(cameraId), double(k), 0, 0});
            EXPECT_EQ(one.word(0), 0u) << k;
            bytes.insert(bytes.end(), one.output(1).bytes.begin(), one.output(1).bytes.end());
        }
        return bytes;
    }
};

TEST_F(BulkReadout, AStackHoldsWhatTheOneFrameReadoutGivesInEveryFormat) {
    for (uint32_t pixelFormat : {0u, 1u, 7u, 2u}) {
        useFrames(kSimColourCameraId, 7, 5, pixelFormat);
        testhost::CallResult stack = run(3, "MemoryReadFrames", {kSimColourCameraId, 1, 4});
        EXPECT_EQ(stack.word(0), 0u);
        EXPECT_EQ(stack.word(2), 4u);
        const std::vector<mwSize> dimensions =
            pixelFormat > 1 ? std::vector<mwSize>{5, 7, 3, 4} : std::vector<mwSize>{5, 7, 4};
        EXPECT_EQ(stack.output(1).dimensions, dimensions);
        EXPECT_EQ(stack.output(1).bytes, framesOneByOne(kSimColourCameraId, 0, 1, 4)) << pixelFormat;
    }
}

TEST_F(BulkReadout, AReadoutThatStopsKeepsTheFramesBeforeAndNamesTheStatus) {
    testhost::CallResult past = run(3, "MemoryReadFrames", {kSimColourCameraId, 2, 10});
    EXPECT_EQ(past.word(0), 13u) << "position 6 holds nothing";
    EXPECT_EQ(past.word(2), 4u);
    EXPECT_EQ(past.output(1).dimensions, (std::vector<mwSize>{5, 7, 4}));
    EXPECT_EQ(past.output(1).bytes, framesOneByOne(kSimColourCameraId, 0, 2, 4));

    simForceResultAfter("drvGetParameter", 3 + 3 + 2, 1);  // size and format, frame 0, then frame 1's width
    testhost::CallResult late = run(3, "MemoryReadFrames", {kSimColourCameraId, 0, 3});
    EXPECT_EQ(late.word(0), 7u);
    EXPECT_EQ(late.word(2), 1u) << "a frame whose readout answers 7 is not counted";

    simForceResult("drvReadMemory", 1);
    testhost::CallResult none = run(3, "MemoryReadFrames", {kSimColourCameraId, 0, 1});
    EXPECT_EQ(none.word(0), 13u);
    EXPECT_EQ(none.word(2), 0u);
    EXPECT_EQ(none.output(1).dimensions, (std::vector<mwSize>{5, 7, 0}));
}

TEST_F(BulkReadout, PositionsIgnoreTheSegmentTableAndSegmentsUseIt) {
    ASSERT_EQ(open(kSimSegmentedCameraId), 0u);
    useFrames(kSimSegmentedCameraId, 4, 3, 0);
    record(kSimSegmentedCameraId, 8, 3);  // segments begin at 0, 2, 4, 6
    simClearCallLog();
    testhost::CallResult positions = run(3, "MemoryReadFrames", {kSimSegmentedCameraId, 5, 2});
    EXPECT_EQ(callsOf("drvReadMemory").size(), 2u);
    EXPECT_NE(callsOf("drvReadMemory")[0].find(", 5, 0, "), std::string::npos) << callsOf("drvReadMemory")[0];
    testhost::CallResult segments = run(3, "MemoryReadSegments", {kSimSegmentedCameraId, 1, 3});
    EXPECT_EQ(segments.word(2), 3u);
    EXPECT_EQ(segments.output(1).bytes, framesOneByOne(kSimSegmentedCameraId, -1, 1, 3));
    EXPECT_EQ(run(3, "MemoryReadSegments", {kSimSegmentedCameraId, kSegmentTableEntries - 1, 2}).word(2), 1u);
}

TEST_F(BulkReadout, CountsAndCallsAreCheckedBeforeAnythingIsRead) {
    auto inputs = [](const char* keyword, std::vector<double> scalars) {
        std::vector<testhost::Array> all;
        all.push_back(testhost::text(keyword));
        for (double value : scalars) all.push_back(testhost::scalar(value));
        return all;
    };
    simClearCallLog();
    EXPECT_EQ(errorOf(3, inputs("MemoryReadSegments", {1001, 0})), "Invalid number of inputs to MemoryReadSegments\n");
    EXPECT_EQ(errorOf(2, inputs("MemoryReadSegments", {1001, 0, 1})), "MemoryReadSegments needs 3 outputs\n");
    EXPECT_TRUE(simCallLog().empty());
    testhost::CallResult empty = run(3, "MemoryReadFrames", {kSimColourCameraId, 0, 0});
    EXPECT_EQ(empty.word(0), 0u);
    EXPECT_EQ(empty.output(1).elementCount(), 0u);
    simClearCallLog();
    EXPECT_EQ(run(3, "MemoryReadSegments", {4242, 0, 0}).word(0), 13u) << "no camera, even for no frames";
    EXPECT_TRUE(simCallLog().empty());
}

// The staging buffer is reused: a larger, wider frame read before must not
// show through a readout that delivers nothing.
TEST_F(BulkReadout, NoEarlierFrameShowsThroughAFailedReadout) {
    useFrames(kSimColourCameraId, 9, 8, 7);
    ASSERT_EQ(run(2, "MemoryReadData", {kSimColourCameraId, 3, 0, 0}).word(0), 0u);
    useFrames(kSimColourCameraId, 7, 5, 1);
    simForceResult("drvReadMemory", 1);
    testhost::CallResult failed = run(2, "MemoryReadData", {kSimColourCameraId, 3, 0, 0});
    EXPECT_EQ(failed.word(0), 13u);
    EXPECT_EQ(failed.output(1).bytes, std::vector<unsigned char>(7 * 5 * 2, 0));
}

}  // namespace

namespace {

// The first position or segment number is taken whole: beyond 32 bits it
// reaches the driver as given (as uint64 up to 2^64 - 1), and a value that
// names no position or segment number is refused rather than cut.
TEST_F(BulkReadout, TheFirstNumberIsTakenWholeOrRefused) {
    auto firstPosition = [](testhost::Array first) {
        std::vector<testhost::Array> inputs;
        inputs.push_back(testhost::text("MemoryReadFrames"));
        inputs.push_back(testhost::scalar(kSimColourCameraId));
        inputs.push_back(std::move(first));
        inputs.push_back(testhost::scalar(2));
        return inputs;
    };
    simClearCallLog();
    testhost::CallResult beyond = testhost::call(3, firstPosition(testhost::scalar(4294967297.0)));
    EXPECT_EQ(beyond.word(0), 13u) << "nothing recorded there";
    EXPECT_EQ(beyond.word(2), 0u);
    EXPECT_EQ(callsOf("drvReadMemory").size(), 1u);
    EXPECT_EQ(simCallLog().back().operation, "drvReadMemory");
    testhost::Array last = testhost::numeric(mxUINT64_CLASS, {1, 1});
    const uint64_t lastPosition = UINT64_MAX;
    std::memcpy(last->bytes.data(), &lastPosition, sizeof lastPosition);
    testhost::call(3, firstPosition(std::move(last)));
    std::vector<uint64_t> positions;
    for (const SimCall& call : simCallLog())
        if (call.operation == "drvReadMemory") positions.push_back(call.arguments[1]);
    EXPECT_EQ(positions, (std::vector<uint64_t>{4294967297u, UINT64_MAX}));

    const std::string frames = "Input 3 must be a whole number from 0 to 18446744073709551615.";
    for (double bad : {0.5, -1.0, std::nan(""), double(INFINITY), 18446744073709551616.0})
        EXPECT_EQ(identifiedErrorOf(3, firstPosition(testhost::scalar(bad))),
                  std::make_pair(std::string("QuorvelML:inputValue"), frames))
            << bad;
    std::vector<testhost::Array> segments = firstPosition(testhost::scalar(4294967296.0));
    segments[0] = testhost::text("MemoryReadSegments");
    EXPECT_EQ(errorOf(3, segments), "Input 3 must be a whole number from 0 to 4294967295.");
}

}  // namespace
