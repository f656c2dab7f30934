// Images hold the frame the status names or nothing: bytes the driver did
// not write read 0 even in recycled buffers, a shape the module could not
// read answers 7 with zero images, and a stack no host could hold answers
// 11 before any readout.
#include "RecordingFixture.h"
#include "SimFrames.h"
#include "FrameReference.h"
#include "acquisition/FrameLayout.h"
#include "acquisition/HostMemory.h"
#include "common/FrameBuffer.h"

namespace {

// 256 x 256 mono frames take a recycled block.
constexpr uint32_t kSide = 256;
constexpr uint32_t kDelivered = 1000;

class FrameIntegrity : public RecordingFixture {
protected:
    static void shapeCamera(uint32_t cameraId, uint32_t pixelFormat, uint32_t width, uint32_t height) {
        setParameter(cameraId, kSimParamPixelFormat, pixelFormat);
        setParameter(cameraId, kSimParamWidth, width);
        setParameter(cameraId, kSimParamHeight, height);
    }

    // The next frame-writing call writes kDelivered bytes and succeeds.
    static void deliverPartOfNextFrame(uint32_t cameraId) {
        simConfigureCamera(cameraId, [](SimCamera& camera) {
            camera.overrides.partialFrameBytes = kDelivered;
            camera.overrides.partialFrameResult = 0;
        });
    }

    // The 8-bit mono image of frame `number`'s first kDelivered bytes, zeros after.
    static std::vector<uint8_t> partialImage(SimFrameKind kind, uint32_t number) {
        std::vector<uint8_t> frame(kSide * kSide, 0);
        simRenderFrame(0, kind, number, kSide, kSide, frame.data(), kDelivered);
        std::vector<uint8_t> image(frame.size());
        convertFrameReference(selectFrameShape(0, FrameFamily::Live), kSide, kSide, frame.data(), image.data());
        return image;
    }

    static bool allZero(const mxArray& array) {
        return std::all_of(array.bytes.begin(), array.bytes.end(), [](uint8_t b) { return b == 0; });
    }
};

TEST_F(FrameIntegrity, LiveImagesZeroWhatTheDriverDidNotWrite) {
    ASSERT_EQ(open(kSimMonoCameraId), 0u);
    shapeCamera(kSimMonoCameraId, 0, kSide, kSide);
    ASSERT_EQ(run(3, "SynchGrab", {kSimMonoCameraId, 0}).word(0), 0u);  // frame 0 fills the kept block
    deliverPartOfNextFrame(kSimMonoCameraId);
    testhost::CallResult grab = run(3, "SynchGrab", {kSimMonoCameraId, 0});
    EXPECT_EQ(grab.word(0), 0u);
    EXPECT_EQ(grab.output(1).bytes, partialImage(SimFrameKind::Live, 1));

    ASSERT_EQ(run(3, "MemoryPreview", {kSimMonoCameraId}).word(0), 0u);
    deliverPartOfNextFrame(kSimMonoCameraId);
    testhost::CallResult preview = run(3, "MemoryPreview", {kSimMonoCameraId});
    EXPECT_EQ(preview.word(0), 0u);
    EXPECT_EQ(preview.output(1).bytes, partialImage(SimFrameKind::Live, 3));
}

TEST_F(FrameIntegrity, ReadoutImagesZeroWhatTheDriverDidNotWrite) {
    ASSERT_EQ(open(kSimMonoCameraId), 0u);
    shapeCamera(kSimMonoCameraId, 0, kSide, kSide);
    record(kSimMonoCameraId, 2);
    const std::vector<uint32_t> frames = memoryFrames(kSimMonoCameraId);
    ASSERT_EQ(run(2, "MemoryReadData", {kSimMonoCameraId, 1, 0, 0}).word(0), 0u);
    deliverPartOfNextFrame(kSimMonoCameraId);
    testhost::CallResult one = run(2, "MemoryReadData", {kSimMonoCameraId, 0, 0, 0});
    EXPECT_EQ(one.word(0), 0u);
    EXPECT_EQ(one.output(1).bytes, partialImage(SimFrameKind::Readout, frames[0]));

    deliverPartOfNextFrame(kSimMonoCameraId);
    testhost::CallResult stack = run(3, "MemoryReadFrames", {kSimMonoCameraId, 0, 1});
    EXPECT_EQ(stack.word(0), 0u);
    EXPECT_EQ(stack.output(1).bytes, partialImage(SimFrameKind::Readout, frames[0]));
}

// Camera 1001 at format 7, 16 x 4: the format read fails once.
TEST_F(FrameIntegrity, AFailedFormatReadAnswers7WithZeroImagesOfFormat0sShape) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    shapeCamera(kSimColourCameraId, 7, 16, 4);
    record(kSimColourCameraId, 4);
    const std::vector<mwSize> mono = {4, 16};

    simForceResultAfter("drvGetParameter", 2, 1);  // after width and height
    testhost::CallResult one = run(2, "MemoryReadData", {kSimColourCameraId, 0, 0, 0});
    EXPECT_EQ(one.word(0), 7u);
    EXPECT_EQ(one.output(1).classId, mxUINT8_CLASS);
    EXPECT_EQ(one.output(1).dimensions, mono);
    EXPECT_TRUE(allZero(one.output(1)));

    simForceResultAfter("drvGetParameter", 2, 1);
    testhost::CallResult stack = run(3, "MemoryReadFrames", {kSimColourCameraId, 0, 4});
    EXPECT_EQ(stack.word(0), 7u);
    EXPECT_EQ(stack.word(2), 0u);
    EXPECT_EQ(stack.output(1).classId, mxUINT8_CLASS);
    EXPECT_EQ(stack.output(1).elementCount(), 0u);
    EXPECT_EQ(simCallCount("drvReadMemory"), 0);

    for (const char* keyword : {"SynchGrab", "MemoryPreview"}) {
        SCOPED_TRACE(keyword);
        simForceResult("drvGetParameter", 1);  // the live commands read the format first
        testhost::CallResult live = keyword == std::string("SynchGrab") ? run(3, keyword, {kSimColourCameraId, 0})
                                                                        : run(3, keyword, {kSimColourCameraId});
        EXPECT_EQ(live.word(0), 7u);
        EXPECT_EQ(live.output(1).classId, mxUINT8_CLASS);
        EXPECT_EQ(live.output(1).dimensions, mono);
        EXPECT_TRUE(allZero(live.output(1)));
        if (keyword == std::string("SynchGrab")) {
            EXPECT_TRUE(allZero(live.output(2)));
        }
    }
    EXPECT_EQ(simCallCount("drvGrabFrames") + simCallCount("drvGrabPreview"), 0);
}

TEST_F(FrameIntegrity, AStackNoHostCanHoldAnswers11BeforeAnyReadout) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    shapeCamera(kSimColourCameraId, 7, 4096, 4096);
    for (double count : {65536.0, 300.0}) {
        if (count == 300.0 && hostMemoryBytes() >= uint64_t(300) * 4096 * 4096 * 6) continue;
        testhost::CallResult result = run(3, "MemoryReadFrames", {kSimColourCameraId, 0, count});
        EXPECT_EQ(result.word(0), 11u);
        EXPECT_EQ(result.word(2), 0u);
        EXPECT_EQ(result.output(1).elementCount(), 0u);
    }
    EXPECT_EQ(simCallCount("drvReadMemory"), 0);
}

}  // namespace

namespace {

// Large grabs followed by small ones: what stays kept keeps to the limit,
// and a request a kept block holds is still served by it.
TEST(RecycledBlocks, KeepAtMostTheirLimitInTotal) {
    releaseRecycledFrameBuffers();
    for (size_t mebibytes : {128, 160, 192, 224}) releaseFrameBuffer(allocateFrameBuffer(mebibytes << 20));
    for (int grab = 0; grab < 200; ++grab) releaseFrameBuffer(allocateFrameBuffer(size_t(1 + grab % 4) << 20));
    EXPECT_LE(recycledFrameBufferBytes(), kRecycledBytesLimit);
    void* kept = allocateFrameBuffer(size_t(1) << 20);
    releaseFrameBuffer(kept);
    EXPECT_EQ(allocateFrameBuffer(size_t(1) << 20), kept);
    releaseFrameBuffer(kept);
    releaseRecycledFrameBuffers();
}

}  // namespace
