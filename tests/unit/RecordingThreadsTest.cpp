// The simulator's recording and disk threads against the module: callbacks
// on driver threads, and no callback once a stop, a close or an unload has
// returned. The stress case also runs under ThreadSanitizer (run-tests).
#include "RecordingFixture.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWaitMilliseconds = 10000;
constexpr uint32_t kFastRate = 20000;  // frames per second

class RecordingThreads : public RecordingFixture {
protected:
    void TearDown() override {
        RecordingFixture::TearDown();
        std::remove(file_.c_str());
    }

    static void useTinyFrames(uint32_t cameraId) {
        setParameter(cameraId, kSimParamWidth, 8);
        setParameter(cameraId, kSimParamHeight, 4);
    }

    static void settle() { std::this_thread::sleep_for(std::chrono::milliseconds(20)); }

    // Polls "GrabIsReady" until it answers 1; false when it never does.
    bool becomesReady(uint32_t cameraId) {
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kWaitMilliseconds);
        while (ready(cameraId) == 0)
            if (Clock::now() > deadline) return false;
        return true;
    }

    uint32_t readData(uint32_t cameraId, double segment) {
        return run(2, "MemoryReadData", {double(cameraId), 0, 0, segment}).word(0);
    }

    uint32_t download(uint32_t cameraId, double frames) {
        std::vector<testhost::Array> inputs;
        inputs.push_back(testhost::text("MemoryDownloadRawFrame"));
        inputs.push_back(testhost::scalar(cameraId));
        inputs.push_back(testhost::text(file_));
        for (double number : {0.0, 0.0, frames, 0.0, 0.0}) inputs.push_back(testhost::scalar(number));
        return testhost::call(1, inputs).word(0);
    }

    const std::string file_ = "/tmp/quorvel-threads-" + std::to_string(getpid()) + ".qrv";
};

TEST_F(RecordingThreads, ARecordingThreadCallsBackUntilItsLastFrame) {
    simSetMemory(kSimSegmentedCameraId, 64, 2000, 0);
    ASSERT_EQ(open(kSimSegmentedCameraId), 0u);
    ASSERT_EQ(startGrab(kSimSegmentedCameraId, 40, 10, 3, 4), 0u);
    ASSERT_TRUE(simWaitForRecording(kSimSegmentedCameraId, kWaitMilliseconds));
    settle();

    EXPECT_EQ(ready(kSimSegmentedCameraId), 1u);
    EXPECT_EQ(recordOf(kSimSegmentedCameraId).frameReadyCount.load(), 10u) << "one event every 4 of 40 frames";
    EXPECT_EQ(memoryFrames(kSimSegmentedCameraId).size(), 40u);
    const uint64_t* table = recordOf(kSimSegmentedCameraId).segmentTable;
    EXPECT_EQ(std::vector<uint64_t>(table, table + 5), (std::vector<uint64_t>{0, 10, 20, 30, 0}));
    testhost::CallResult trigger = run(3, "MemoryReadTriggerPosition", {double(kSimSegmentedCameraId)});
    EXPECT_EQ(trigger.word(1), 10u);
    EXPECT_EQ(trigger.word(2), 40u);
}

TEST_F(RecordingThreads, NoCallbackRunsAfterStopCloseOrUnloadHasReturned) {
    for (uint32_t id : {kSimColourCameraId, kSimSegmentedCameraId, kSimMonoCameraId})
        simSetMemory(id, 1000000, kFastRate, kFastRate);

    ASSERT_EQ(open(kSimColourCameraId), 0u);
    ASSERT_EQ(startGrab(kSimColourCameraId, 0, 0, 0, 1), 0u);
    ASSERT_TRUE(becomesReady(kSimColourCameraId));
    ASSERT_EQ(run(1, "MemoryStopGrab", {double(kSimColourCameraId)}).word(0), 0u);
    settle();
    EXPECT_EQ(ready(kSimColourCameraId), 0u) << "after the stop";

    ASSERT_EQ(open(kSimSegmentedCameraId), 0u);
    ASSERT_EQ(startGrab(kSimSegmentedCameraId, 0, 0, 7, 1), 0u);
    const int index = indexOf(kSimSegmentedCameraId);
    ASSERT_TRUE(becomesReady(kSimSegmentedCameraId));
    ASSERT_EQ(run(1, "CloseCamera", {double(kSimSegmentedCameraId)}).word(0), 0u);
    ASSERT_EQ(ClaimCameraSlot(5555), index);  // a slot nobody's callback may touch now
    settle();
    EXPECT_EQ(acquisitionSlot(index).frameReadyCount.load(), 0u) << "after the close";
    EXPECT_EQ(acquisitionSlot(index).segmentTable[0], 0u);
    ReleaseCameraSlot(5555);

    ASSERT_EQ(open(kSimMonoCameraId), 0u);
    ASSERT_EQ(startGrab(kSimMonoCameraId, 0, 0, 0, 1), 0u);
    ASSERT_TRUE(becomesReady(kSimMonoCameraId));
    testhost::unloadModule();
    // Callbacks may still run while the unload waits for the threads; none
    // may run once it has returned.
    const uint64_t callsAtReturn = simLoggedCallCount();
    settle();
    EXPECT_EQ(simLoggedCallCount(), callsAtReturn) << "no callback called into the driver since";
    EXPECT_EQ(simCallCount("drvUnload"), 1);
    EXPECT_FALSE(simCamera(kSimMonoCameraId)->state.memory.recording);
}

// A driver that refuses to unload keeps its threads: the unload closes its
// cameras, so no recording or disk read calls back once it has returned,
// and the next call starts the module afresh.
TEST_F(RecordingThreads, AnUnloadTheDriverRefusesStillEndsEveryCallback) {
    simSetMemory(kSimSegmentedCameraId, 1000000, kFastRate, kFastRate);
    ASSERT_EQ(open(kSimSegmentedCameraId), 0u);
    ASSERT_EQ(startGrab(kSimSegmentedCameraId, 0, 0, 7, 1), 0u);
    ASSERT_TRUE(becomesReady(kSimSegmentedCameraId));
    simForceResult("drvUnload", 1);
    testhost::unloadModule();
    const uint64_t callsAtReturn = simLoggedCallCount();
    settle();
    EXPECT_EQ(simLoggedCallCount(), callsAtReturn) << "no callback called into the driver since";
    EXPECT_FALSE(simCamera(kSimSegmentedCameraId)->state.open);

    EXPECT_EQ(open(kSimSegmentedCameraId), 0u) << "the camera can be opened again";
    EXPECT_EQ(testhost::exitHooksRegistered(), 1) << "the next load registers its exit hook again";
}

// A driver must survive a callback that stops the recording from the
// recording thread itself; AddressSanitizer saw the worker freed under its
// running thread.
TEST_F(RecordingThreads, ACallbackMayStopItsOwnRecordingOnTheDriversThread) {
    simSetMemory(kSimColourCameraId, 1000, kFastRate, 0);
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    static DeviceHandle handle;
    static std::atomic<int> events;
    handle = handleOf(kSimColourCameraId);
    events = 0;
    auto stopOnFirstEvent = [](void*, uint32_t, uint32_t) -> uint32_t {
        uint32_t word = 0;
        if (events++ == 0) drvStopRecording(handle, &word);
        return 0;
    };
    ASSERT_EQ(drvStartRecording(handle, 0, 0, 0, 1, stopOnFirstEvent, 1, nullptr), 0u);
    ASSERT_TRUE(simWaitForRecording(kSimColourCameraId, kWaitMilliseconds));
    settle();
    EXPECT_EQ(events.load(), 1);
    EXPECT_EQ(memoryFrames(kSimColourCameraId).size(), 1u);
}

TEST_F(RecordingThreads, CallbacksAtAHighRateMeetCommandsOnTheHostThread) {
    const uint32_t segmented = kSimSegmentedCameraId, colour = kSimColourCameraId, disk = kSimMonoCameraId;
    for (uint32_t id : {segmented, colour, disk}) {
        simSetMemory(id, 1000000, kFastRate, 0);
        useTinyFrames(id);
        ASSERT_EQ(open(id), 0u);
    }
    ASSERT_EQ(startGrab(disk, 300, 0, 0, 1), 0u);
    ASSERT_TRUE(simWaitForRecording(disk, kWaitMilliseconds));
    ASSERT_EQ(run(1, "MemoryStopGrab", {double(disk)}).word(0), 0u);
    ASSERT_EQ(download(disk, 300), 0u);

    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(400);
    int readyPolls = 0;
    int diskReads = 0;
    for (int round = 0; round < 5000 && Clock::now() < deadline; ++round) {
        EXPECT_EQ(startGrab(segmented, 0, 5, round % 40, 1), 0u);
        EXPECT_EQ(startGrab(colour, 0, 0, 0, 1 + round % 3), 0u);
        if (run(1, "MemoryReadFromDisk", {double(disk), 0, 0, 0, 7, 0, 0}).word(0) == 0) ++diskReads;
        for (int poll = 0; poll < 5; ++poll) readyPolls += int(ready(segmented) + ready(colour));
        uint32_t code = readData(segmented, round % 8);
        EXPECT_TRUE(code == 0 || code == 13) << code;
        code = run(3, "MemoryReadTriggerPosition", {double(segmented)}).word(0);
        EXPECT_TRUE(code == 0 || code == 14) << code;
        if (round % 10 == 9) {  // close while recording, and come back
            EXPECT_EQ(run(1, "CloseCamera", {double(segmented)}).word(0), 0u);
            EXPECT_EQ(open(segmented), 0u);
        }
        EXPECT_EQ(run(1, "MemoryStopGrab", {double(segmented)}).word(0), 0u);
        EXPECT_EQ(run(1, "MemoryStopGrab", {double(colour)}).word(0), 0u);
    }
    EXPECT_GT(readyPolls, 0) << "recording callbacks reached the module";
    EXPECT_GT(diskReads, 0);
    ASSERT_TRUE(simWaitForDiskRead(disk, kWaitMilliseconds));
    ASSERT_EQ(run(1, "MemoryReadFromDisk", {double(disk), 0, 0, 0, 7, 0, 0}).word(0), 0u);
    ASSERT_TRUE(simWaitForDiskRead(disk, kWaitMilliseconds));
    EXPECT_EQ(recordOf(disk).diskReadCount.load(), 1u) << "a read reports its end once";
    settle();
    EXPECT_EQ(ready(segmented), 0u);
    EXPECT_EQ(ready(colour), 0u);
}

}  // namespace
