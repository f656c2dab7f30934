// "SynchGrab" and "MemoryPreview" on the simulated driver: buffer sizes,
// the descriptor, the split and the block move, bounded copies, every
// failure code with its clean-up, and the images handed back.
#include "AllocationCounter.h"
#include "ModuleFixture.h"
#include "acquisition/AcquisitionState.h"
#include "FrameReference.h"
#include "acquisition/FrameLayout.h"
#include "acquisition/LiveCapture.h"
#include "camera/CameraTable.h"
#include "common/FrameBuffer.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

class LiveCapture : public ModuleTest {
protected:
    AllocationCounter blocks;  // every frame buffer taken and given back

    // Opens the camera with the frame geometry given and forgets the log.
    void openWith(uint32_t cameraId, uint32_t pixelFormat, uint32_t extraFrames, uint32_t width, uint32_t height) {
        simConfigureCamera(cameraId, [&](SimCamera& camera) {
            camera.config.parameters[kSimParamPixelFormat].value = pixelFormat;
            camera.config.parameters[kSimParamExtraFrames].value = extraFrames;
            camera.config.parameters[kSimParamWidth].value = width;
            camera.config.parameters[kSimParamHeight].value = height;
        });
        ASSERT_EQ(open(cameraId), 0u);
        simClearCallLog();
    }

    void setGrab(uint32_t cameraId, const SimGrabBehaviour& behaviour) {
        simConfigureCamera(cameraId, [&](SimCamera& camera) { camera.overrides.grab = behaviour; });
    }

    static const TransferDescriptor& transferOf(int32_t cameraId) {
        return acquisitionSlot(FindCameraSlot(cameraId)).transfer;
    }

    // The live frames the simulator writes for the camera's next grab, as
    // one buffer of `frames` frames.
    static std::vector<uint8_t> renderedFrames(uint32_t pixelFormat, uint32_t firstFrame, uint32_t frames,
                                               uint32_t width, uint32_t height) {
        const size_t frameBytes = size_t(simFrameFormat(pixelFormat, SimFrameKind::Live).bytesPerPixel()) * width * height;
        std::vector<uint8_t> bytes(frameBytes * frames);
        for (uint32_t i = 0; i < frames; ++i)
            simRenderFrame(pixelFormat, SimFrameKind::Live, firstFrame + i, width, height, bytes.data() + i * frameBytes,
                           frameBytes);
        return bytes;
    }

    // The image that scratch bytes give: the first destinationBytes of
    // `bytes` (zero beyond them), converted by the plain loop.
    static std::vector<uint8_t> imageOf(uint32_t pixelFormat, uint32_t width, uint32_t height,
                                        std::vector<uint8_t> bytes) {
        const FrameShape shape = selectFrameShape(pixelFormat, FrameFamily::Live);
        bytes.resize(shape.frameBytes(width, height), 0);
        std::vector<uint8_t> image(bytes.size());
        convertFrameReference(shape, width, height, bytes.data(), image.data());
        return image;
    }

    static std::vector<uint8_t> slice(const std::vector<uint8_t>& bytes, size_t from, size_t count) {
        return std::vector<uint8_t>(bytes.begin() + from, bytes.begin() + from + count);
    }

    static std::vector<mwSize> dimensionsOf(const mxArray& array) { return array.dimensions; }
};

TEST_F(LiveCapture, HundredByteMonoFrameFillsTheFirstImageOnly) {
    openWith(kSimColourCameraId, 0, 0, 10, 10);
    auto result = run(3, "SynchGrab", {kSimColourCameraId, 77});
    EXPECT_EQ(result.word(0), 0u);
    EXPECT_EQ(blocks.sizes(), std::vector<size_t>{100});
    EXPECT_EQ(transferOf(kSimColourCameraId).byteSize, 100u);
    EXPECT_EQ(transferOf(kSimColourCameraId).frameCount, 1u);
    EXPECT_EQ(transferOf(kSimColourCameraId).buffer, nullptr) << "the block was given back";

    EXPECT_EQ(result.output(1).classId, mxUINT8_CLASS);
    EXPECT_EQ(dimensionsOf(result.output(1)), (std::vector<mwSize>{10, 10}));
    EXPECT_EQ(result.output(1).bytes, imageOf(0, 10, 10, renderedFrames(0, 0, 1, 10, 10)));
    EXPECT_EQ(result.output(2).bytes, std::vector<uint8_t>(100, 0));
    // MATLAB element (r+1, c+1) holds line r, pixel c of frame 0.
    EXPECT_EQ(result.output(1).bytes[3 * 10 + 7], simFrameSample(0, 0, 7, 3, 0));
}

TEST_F(LiveCapture, SynchGrabCallsTheDriverInOrderAndStopsAfterTheCopies) {
    openWith(kSimColourCameraId, 0, 0, 10, 10);
    run(3, "SynchGrab", {kSimColourCameraId, -1});
    EXPECT_EQ(operations(), (std::vector<std::string>{
                                "drvGetParameter", "drvGetParameterLimit", "drvGetParameterLimit",  // PixelFormat
                                "drvGetParameter", "drvGetParameter",                               // W, H
                                "drvGetCameraInfo", "drvGetCameraInfo",                             // items 12, 0
                                "drvGetParameter", "drvGetParameter", "drvGetParameter", "drvGetParameter",
                                "drvGrabFrames", "drvStopCapture"}));
    auto log = simCallLog();
    EXPECT_EQ(log[5].arguments[1], 12u);
    EXPECT_EQ(log[6].arguments[1], 0u);
    std::vector<uint64_t> parameters;
    for (size_t i = 7; i < 11; ++i) parameters.push_back(log[i].arguments[2]);
    EXPECT_EQ(parameters, (std::vector<uint64_t>{15, 16, 2, 7}));
    EXPECT_EQ(log[11].arguments[1], reinterpret_cast<uintptr_t>(&transferOf(kSimColourCameraId)));
    EXPECT_EQ(log[11].arguments[2], 0xFFFFFFFFu);  // the grab argument passes unchanged
}

TEST_F(LiveCapture, TwoSixteenBitFramesSplitIntoTheTwoImages) {
    openWith(kSimColourCameraId, 1, 1, 10, 10);
    auto result = run(3, "SynchGrab", {kSimColourCameraId, 0});
    EXPECT_EQ(result.word(0), 0u);
    EXPECT_EQ(blocks.sizes(), std::vector<size_t>{400});
    EXPECT_EQ(transferOf(kSimColourCameraId).frameCount, 2u);
    const auto frames = renderedFrames(1, 0, 2, 10, 10);
    EXPECT_EQ(result.output(1).classId, mxUINT16_CLASS);
    EXPECT_EQ(result.output(1).bytes, imageOf(1, 10, 10, slice(frames, 0, 200)));
    EXPECT_EQ(result.output(2).bytes, imageOf(1, 10, 10, slice(frames, 200, 200)));
    uint16_t sample = 0;
    std::memcpy(&sample, result.output(2).bytes.data() + 2 * (4 * 10 + 9), 2);
    EXPECT_EQ(sample, simFrameSample(1, 1, 9, 4, 0));  // second image: frame 1

    // The next grab delivers the next frames.
    auto next = run(3, "SynchGrab", {kSimColourCameraId, 0});
    EXPECT_EQ(next.output(1).bytes, imageOf(1, 10, 10, slice(renderedFrames(1, 2, 1, 10, 10), 0, 200)));
}

TEST_F(LiveCapture, MemoryCameraTypesAllocateFourBytesPerPixelButDescribeTheFrame) {
    openWith(kSimMemoryCameraId, 0, 0, 10, 10);
    auto result = run(3, "SynchGrab", {kSimMemoryCameraId, 0});
    EXPECT_EQ(result.word(0), 0u);
    EXPECT_EQ(blocks.sizes(), std::vector<size_t>{400});
    EXPECT_EQ(transferOf(kSimMemoryCameraId).byteSize, 100u);
    EXPECT_EQ(result.output(1).bytes, imageOf(0, 10, 10, renderedFrames(0, 0, 1, 10, 10)));
}

TEST_F(LiveCapture, ColourPairMovesItsMiddleBlockBeforeTheSplit) {
    openWith(kSimColourCameraId, 2, 1, 4, 2);
    auto result = run(3, "SynchGrab", {kSimColourCameraId, 0});
    EXPECT_EQ(result.word(0), 0u);
    EXPECT_EQ(transferOf(kSimColourCameraId).byteSize, 48u);
    const auto before = renderedFrames(2, 0, 2, 4, 2);
    // 18 bytes from offset 18 land at offset 24; bytes 42 to 47 stay.
    std::vector<uint8_t> second = slice(before, 18, 18);
    std::vector<uint8_t> tail = slice(before, 42, 6);
    second.insert(second.end(), tail.begin(), tail.end());
    EXPECT_EQ(result.output(1).bytes, imageOf(2, 4, 2, slice(before, 0, 24)));
    EXPECT_EQ(result.output(2).bytes, imageOf(2, 4, 2, second));
    EXPECT_EQ(dimensionsOf(result.output(1)), (std::vector<mwSize>{2, 4, 3}));
}

TEST_F(LiveCapture, LoweredByteSizeCopiesOnlyWhatTheDriverReports) {
    openWith(kSimColourCameraId, 0, 0, 10, 10);
    setGrab(kSimColourCameraId, {1, 1, 37, std::nullopt});
    auto one = run(3, "SynchGrab", {kSimColourCameraId, 0});
    EXPECT_EQ(one.output(1).bytes, imageOf(0, 10, 10, slice(renderedFrames(0, 0, 1, 10, 10), 0, 37)));

    // Two frames and an odd size: two halves of 50 bytes, the last byte left.
    simConfigureCamera(kSimColourCameraId, [](SimCamera& c) { c.config.parameters[kSimParamExtraFrames].value = 1; });
    setGrab(kSimColourCameraId, {1, 1, 101, std::nullopt});
    auto two = run(3, "SynchGrab", {kSimColourCameraId, 0});
    const auto frames = renderedFrames(0, 1, 2, 10, 10);
    EXPECT_EQ(two.output(1).bytes, imageOf(0, 10, 10, slice(frames, 0, 50)));
    EXPECT_EQ(two.output(2).bytes, imageOf(0, 10, 10, slice(frames, 50, 50)));
}

TEST_F(LiveCapture, NoCopyWritesPastItsImage) {
    // Four bytes per pixel and two frames: U = 64, the move puts bytes 24 to
    // 47 at 32 to 55, each half is 32 bytes and each image holds 24.
    openWith(kSimColourCameraId, 3, 1, 4, 2);
    auto wide = run(3, "SynchGrab", {kSimColourCameraId, 0});
    EXPECT_EQ(wide.word(0), 0u);
    auto buffer = renderedFrames(3, 0, 2, 4, 2);
    std::memmove(buffer.data() + 32, buffer.data() + 24, 24);
    EXPECT_EQ(wide.output(1).bytes, imageOf(3, 4, 2, slice(buffer, 0, 24)));
    EXPECT_EQ(wide.output(2).bytes, imageOf(3, 4, 2, slice(buffer, 32, 24)));

    // Four frames: each half holds two, each image takes one.
    simConfigureCamera(kSimColourCameraId, [](SimCamera& c) {
        c.config.parameters[kSimParamPixelFormat].value = 0;
        c.config.parameters[kSimParamExtraFrames].value = 3;
    });
    auto many = run(3, "SynchGrab", {kSimColourCameraId, 0});
    EXPECT_EQ(many.word(0), 0u);
    EXPECT_EQ(many.output(1).bytes, imageOf(0, 4, 2, renderedFrames(0, 2, 1, 4, 2)));
    EXPECT_EQ(many.output(2).bytes, imageOf(0, 4, 2, renderedFrames(0, 4, 1, 4, 2)));
}

// Copies what the core delivers to the start of `destination`.
FrameReceiver copyingReceiver(void* destination) {
    auto copy = [](void* context, const unsigned char* frame, size_t count) { std::memcpy(context, frame, count); };
    return FrameReceiver{copy, destination};
}

TEST_F(LiveCapture, CopiesStopAtTheDestinationSizeTheCoreIsGiven) {
    openWith(kSimColourCameraId, 3, 1, 4, 2);
    std::vector<uint8_t> first(24 + 40, 0xEE), second(24 + 40, 0xEE);
    ASSERT_EQ(camSynchGrab(kSimColourCameraId, copyingReceiver(first.data()), copyingReceiver(second.data()), {24, 2}, 0), ResultOk);
    EXPECT_EQ(slice(first, 24, 40), std::vector<uint8_t>(40, 0xEE));
    EXPECT_EQ(slice(second, 24, 40), std::vector<uint8_t>(40, 0xEE));

    // The preview's second half has no destination at all.
    setGrab(kSimColourCameraId, {1, 1, 1000, std::nullopt});
    uint32_t previewValue = 0;
    ASSERT_EQ(camMemoryPreview(kSimColourCameraId, copyingReceiver(first.data()), {24, 2}, &previewValue), ResultOk);
    EXPECT_EQ(slice(first, 24, 40), std::vector<uint8_t>(40, 0xEE));
    EXPECT_EQ(previewValue, 2u);
}

TEST_F(LiveCapture, ARecycledFrameBufferPassesOnOnlyWhatTheDriverDelivered) {
    setFrameBufferAllocator(defaultFrameBufferAllocator());
    openWith(kSimColourCameraId, 2, 1, 160, 160);  // two colour frames fill a buffer the allocator keeps
    ASSERT_EQ(run(3, "SynchGrab", {kSimColourCameraId, 0}).word(0), 0u);
    simConfigureCamera(kSimColourCameraId, [](SimCamera& c) {
        c.config.parameters[kSimParamPixelFormat].value = 1;
        c.config.parameters[kSimParamExtraFrames].value = 0;
    });
    setGrab(kSimColourCameraId, {1, 1, 37, std::nullopt});
    auto lowered = run(3, "SynchGrab", {kSimColourCameraId, 0});
    EXPECT_EQ(lowered.output(1).bytes, imageOf(1, 160, 160, slice(renderedFrames(1, 2, 1, 160, 160), 0, 37)));
}

TEST_F(LiveCapture, RaisedByteSizeReadsNothingBeyondTheFrameBuffer) {
    openWith(kSimColourCameraId, 0, 0, 10, 10);
    setGrab(kSimColourCameraId, {1, 1, 100000, std::nullopt});
    auto one = run(3, "SynchGrab", {kSimColourCameraId, 0});
    EXPECT_EQ(one.word(0), 0u);
    EXPECT_EQ(one.output(1).bytes, imageOf(0, 10, 10, renderedFrames(0, 0, 1, 10, 10)));

    simConfigureCamera(kSimColourCameraId, [](SimCamera& c) { c.config.parameters[kSimParamExtraFrames].value = 1; });
    auto two = run(3, "SynchGrab", {kSimColourCameraId, 0});
    EXPECT_EQ(two.output(1).bytes, imageOf(0, 10, 10, renderedFrames(0, 1, 1, 10, 10)));
    EXPECT_EQ(two.output(2).bytes, imageOf(0, 10, 10, renderedFrames(0, 2, 1, 10, 10)));

    auto preview = run(3, "MemoryPreview", {kSimColourCameraId});
    EXPECT_EQ(preview.word(0), 0u);
    EXPECT_EQ(preview.output(1).bytes, imageOf(0, 10, 10, renderedFrames(0, 3, 1, 10, 10)));
}

TEST_F(LiveCapture, PreviewReturnsTheImageAndValueAndLeavesTheCaptureRunning) {
    openWith(kSimMonoCameraId, 0, 1, 6, 5);
    run(3, "SynchGrab", {kSimMonoCameraId, 0});  // frames 0 and 1
    simClearCallLog();
    auto result = run(3, "MemoryPreview", {kSimMonoCameraId});
    EXPECT_EQ(result.word(0), 0u);
    EXPECT_EQ(result.word(2), 2u);  // the simulator reports the frame number
    EXPECT_EQ(result.output(1).bytes, imageOf(0, 6, 5, renderedFrames(0, 2, 1, 6, 5)));
    EXPECT_EQ(simCallCount("drvStopCapture"), 0);
    EXPECT_EQ(simCallCount("drvGrabFrames"), 0);
    auto log = simCallLog();
    const SimCall& grab = log.back();
    EXPECT_EQ(grab.operation, "drvGrabPreview");
    EXPECT_EQ(grab.arguments[2], reinterpret_cast<uintptr_t>(mxGetData(&result.output(2))));

    setGrab(kSimMonoCameraId, {1, 1, std::nullopt, 0xC0FFEEu});
    EXPECT_EQ(run(3, "MemoryPreview", {kSimMonoCameraId}).word(2), 0xC0FFEEu);
}

TEST_F(LiveCapture, MonoOnlyCamerasRefuseLayoutsTheyCannotDeliver) {
    struct Case {
        uint32_t cameraId;
        uint32_t pixelFormat;
        uint32_t expected;
    };
    // 1002 is mono of type 2; 1004 mono of type 19.
    const Case cases[] = {{kSimMonoCameraId, 0, 0},      {kSimMonoCameraId, 1, 18}, {kSimMonoCameraId, 5, 18},
                          {kSimMonoCameraId, 2, 18},     {kSimSegmentedCameraId, 0, 0}, {kSimSegmentedCameraId, 1, 0},
                          {kSimSegmentedCameraId, 6, 3}, {kSimSegmentedCameraId, 7, 3}};
    for (const Case& c : cases) {
        for (const char* keyword : {"SynchGrab", "MemoryPreview"}) {
            simReset();
            resetModuleState();
            blocks.restart();
            openWith(c.cameraId, c.pixelFormat, 0, 4, 3);
            auto result = keyword[0] == 'S' ? run(3, keyword, {double(c.cameraId), 0}) : run(3, keyword, {double(c.cameraId)});
            const std::string name = std::string(keyword) + " " + std::to_string(c.cameraId) + " PixelFormat " +
                                     std::to_string(c.pixelFormat);
            EXPECT_EQ(result.word(0), c.expected) << name;
            if (c.expected != 0) {
                EXPECT_TRUE(blocks.sizes().empty()) << name;
                EXPECT_EQ(simCallCount("drvStopCapture"), 0) << name;
                EXPECT_EQ(operations().back(), "drvGetCameraInfo") << name;
            }
        }
    }
}

TEST_F(LiveCapture, CheckPixelFormatAnswersWithoutGrabbing) {
    struct Case {
        uint32_t cameraId;
        uint32_t pixelFormat;
        uint32_t expected;
    };
    const Case cases[] = {{kSimColourCameraId, 7, 0}, {kSimMonoCameraId, 0, 0},      {kSimMonoCameraId, 1, 18},
                          {kSimMonoCameraId, 2, 18},  {kSimSegmentedCameraId, 1, 0}, {kSimSegmentedCameraId, 7, 3}};
    for (const Case& c : cases) {
        openWith(c.cameraId, 0, 0, 4, 3);  // the camera's own format is 0 throughout
        const std::string name = std::to_string(c.cameraId) + " PixelFormat " + std::to_string(c.pixelFormat);
        EXPECT_EQ(run(1, "CheckPixelFormat", {double(c.cameraId), double(c.pixelFormat)}).word(0), c.expected) << name;
        for (const std::string& operation : operations()) EXPECT_EQ(operation, "drvGetCameraInfo") << name;
        simReset();
        resetModuleState();
    }
}

TEST_F(LiveCapture, FailuresBeforeTheGrabAllocateNothingAndStopNothing) {
    openWith(kSimColourCameraId, 2, 0, 5, 4);
    const std::vector<uint8_t> zeros(60, 0);
    auto expectCleanFailure = [&](uint32_t expected, const std::string& name) {
        blocks.restart();
        simClearCallLog();
        auto result = run(3, "SynchGrab", {kSimColourCameraId, 0});
        EXPECT_EQ(result.word(0), expected) << name;
        EXPECT_EQ(simCallCount("drvGrabFrames") + simCallCount("drvStopCapture"), 0) << name;
        EXPECT_EQ(dimensionsOf(result.output(1)), (std::vector<mwSize>{4, 5, 3})) << name;
        EXPECT_EQ(result.output(1).bytes, zeros) << name;
        EXPECT_EQ(result.output(2).bytes, zeros) << name;
    };

    simForceResult("drvGetCameraInfo", 4);
    expectCleanFailure(9, "item 12 unreadable");
    EXPECT_TRUE(blocks.sizes().empty());

    // The handler reads PixelFormat (three calls) and W, H; the core then
    // reads 15, 16, 2 and 7.
    for (int read = 0; read < 4; ++read) {
        simForceResultAfter("drvGetParameter", 3 + read, 1);
        expectCleanFailure(7, "core parameter read " + std::to_string(read));
        EXPECT_TRUE(blocks.sizes().empty());
    }

    blocks.refuseAll();
    expectCleanFailure(11, "allocation refused");
    EXPECT_EQ(blocks.sizes(), std::vector<size_t>{60});
    EXPECT_EQ(transferOf(kSimColourCameraId).buffer, nullptr);
}

TEST_F(LiveCapture, SizesPastTheDriversWordsAnswer11BeforeAnyGrab) {
    struct Case {
        uint32_t cameraId, extraFrames, width, height;
        const char* name;
    };
    // 2^18 frames of 64 x 64 at four bytes a pixel are 2^32 bytes; the
    // frame count of 2^32 - 1 extra frames is 2^32.
    for (const Case& c : {Case{kSimMemoryCameraId, (1u << 18) - 1, 64, 64, "buffer of 2^32 bytes"},
                          Case{kSimColourCameraId, 0xFFFFFFFFu, 640, 480, "frame count of 2^32"}}) {
        for (const char* keyword : {"SynchGrab", "MemoryPreview"}) {
            openWith(c.cameraId, 0, c.extraFrames, c.width, c.height);
            blocks.restart();
            auto result = std::string(keyword) == "SynchGrab" ? run(3, keyword, {double(c.cameraId), 0})
                                                               : run(3, keyword, {double(c.cameraId)});
            EXPECT_EQ(result.word(0), 11u) << c.name << " " << keyword;
            EXPECT_TRUE(blocks.sizes().empty()) << c.name << " " << keyword;
            EXPECT_EQ(simCallCount("drvGrabFrames") + simCallCount("drvGrabPreview"), 0) << c.name << " " << keyword;
            run(1, "CloseCamera", {double(c.cameraId)});
        }
    }
}

TEST_F(LiveCapture, AnImagePastTheHostsMemoryAnswers11WithEmptyImages) {
    openWith(kSimColourCameraId, 0, 0, 0xFFFFFFFFu, 0xFFFFFFFFu);
    auto result = run(3, "SynchGrab", {kSimColourCameraId, 0});
    EXPECT_EQ(result.word(0), 11u);
    EXPECT_EQ(dimensionsOf(result.output(1)), (std::vector<mwSize>{0, 0}));
    EXPECT_EQ(dimensionsOf(result.output(2)), (std::vector<mwSize>{0, 0}));
    auto preview = run(3, "MemoryPreview", {kSimColourCameraId});
    EXPECT_EQ(preview.word(0), 11u);
    EXPECT_EQ(dimensionsOf(preview.output(1)), (std::vector<mwSize>{0, 0}));
    EXPECT_EQ(simCallCount("drvGrabFrames") + simCallCount("drvGrabPreview"), 0);
    auto frame = run(2, "MemoryReadData", {kSimColourCameraId, 0, 0, 0});
    EXPECT_EQ(frame.word(0), 11u);
    EXPECT_EQ(dimensionsOf(frame.output(1)), (std::vector<mwSize>{0, 0}));
    EXPECT_EQ(simCallCount("drvReadMemory"), 0);
}

TEST_F(LiveCapture, FailedGrabsStopTheCaptureFreeTheBufferAndLeaveImagesZero) {
    openWith(kSimColourCameraId, 0, 1, 3, 3);
    struct Case {
        const char* name;
        bool forceFailure;
        SimGrabBehaviour behaviour;
    };
    const Case cases[] = {{"grab fails", true, {}},
                          {"status1 left 0", false, {0, 1, std::nullopt, std::nullopt}},
                          {"status2 left 0", false, {1, 0, std::nullopt, std::nullopt}}};
    for (const Case& c : cases) {
        for (const char* keyword : {"SynchGrab", "MemoryPreview"}) {
            setGrab(kSimColourCameraId, c.behaviour);
            if (c.forceFailure) simForceResult(keyword[0] == 'S' ? "drvGrabFrames" : "drvGrabPreview", 6);
            simClearCallLog();
            auto result = keyword[0] == 'S' ? run(3, keyword, {kSimColourCameraId, 0}) : run(3, keyword, {kSimColourCameraId});
            const std::string name = std::string(keyword) + ": " + c.name;
            EXPECT_EQ(result.word(0), 12u) << name;
            EXPECT_EQ(operations().back(), "drvStopCapture") << name;
            EXPECT_EQ(result.output(1).bytes, std::vector<uint8_t>(9, 0)) << name;
            EXPECT_EQ(blocks.held(), 0u) << name;
            EXPECT_EQ(transferOf(kSimColourCameraId).buffer, nullptr) << name;
        }
    }
}

// A host that hands the frame out where the driver wrote it gives the
// frame buffer itself: the driver writes there, nothing is written past
// the bytes asked for, and the module takes no buffer of its own.
TEST_F(LiveCapture, AHostsBufferSourceTakesTheDriversFramesInPlace) {
    openWith(kSimColourCameraId, 0, 1, 10, 10);
    struct Host {
        std::vector<uint8_t> memory = std::vector<uint8_t>(300, 0xAB);
        std::vector<size_t> asked;
        bool shortOfMemory = false;
        const unsigned char* handed = nullptr;
        size_t handedBytes = 0;
    } host;
    auto take = [](void* context, size_t bytes) -> unsigned char* {
        auto* h = static_cast<Host*>(context);
        h->asked.push_back(bytes);
        return h->shortOfMemory ? nullptr : h->memory.data();
    };
    auto receive = [](void* context, const unsigned char* frame, size_t count) {
        auto* h = static_cast<Host*>(context);
        h->handed = frame;
        h->handedBytes = count;
    };
    LiveImages images{100, 0, true};
    images.bufferSource = {take, &host};
    EXPECT_EQ(camSynchGrab(kSimColourCameraId, {receive, &host}, {}, images, 0), ResultOk);
    EXPECT_EQ(host.asked, std::vector<size_t>{200}) << "two frames of 10 x 10 bytes";
    EXPECT_EQ(host.handed, host.memory.data());
    EXPECT_EQ(host.handedBytes, 100u);
    EXPECT_EQ(slice(host.memory, 0, 200), renderedFrames(0, 0, 2, 10, 10));
    EXPECT_EQ(slice(host.memory, 200, 100), std::vector<uint8_t>(100, 0xAB)) << "past the bytes asked for";
    EXPECT_TRUE(blocks.sizes().empty());
    EXPECT_EQ(transferOf(kSimColourCameraId).buffer, nullptr);

    host.shortOfMemory = true;
    simClearCallLog();
    EXPECT_EQ(camSynchGrab(kSimColourCameraId, {receive, &host}, {}, images, 0), ResultOutOfMemory);
    for (const std::string& operation : operations()) EXPECT_NE(operation, "drvGrabFrames");
}

TEST_F(LiveCapture, StatusWordsAreNeverClearedByTheModule) {
    openWith(kSimColourCameraId, 0, 0, 3, 3);
    // A driver that does nothing on a fresh camera leaves both words 0.
    simForceResult("drvGrabFrames", 0);
    EXPECT_EQ(run(3, "SynchGrab", {kSimColourCameraId, 0}).word(0), 12u);
    EXPECT_EQ(run(3, "SynchGrab", {kSimColourCameraId, 0}).word(0), 0u);
    // After a real grab set them, a grab that writes nothing still passes.
    simForceResult("drvGrabFrames", 0);
    auto result = run(3, "SynchGrab", {kSimColourCameraId, 0});
    EXPECT_EQ(result.word(0), 0u);
    EXPECT_EQ(transferOf(kSimColourCameraId).status1, 1u);
}

}  // namespace
