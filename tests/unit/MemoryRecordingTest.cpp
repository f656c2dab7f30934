// "MemoryStartGrab", "MemoryStopGrab", "GrabIsReady",
// "MemoryReadTriggerPosition" and the recording callback.
#include "RecordingFixture.h"
#include "acquisition/AcquisitionState.h"
#include "acquisition/Recording.h"

#include <algorithm>

namespace {

class MemoryRecording : public RecordingFixture {
protected:
    // The context the camera's current recording was handed.
    void* contextOf(uint32_t cameraId) {
        const int index = indexOf(cameraId);
        return callbackContext(index, acquisitionSlot(index).recordingTicket.load());
    }
};

TEST_F(MemoryRecording, GrabIsReadyFollowsTheFirstCallbackAndClearsOnStop) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    EXPECT_EQ(ready(kSimColourCameraId), 0u);
    ASSERT_EQ(startGrab(kSimColourCameraId, 0, 0, 0, 1), 0u);
    EXPECT_EQ(ready(kSimColourCameraId), 0u);

    ASSERT_TRUE(simFireRecordEvent(kSimColourCameraId));
    EXPECT_EQ(ready(kSimColourCameraId), 1u);
    ASSERT_TRUE(simFireRecordEvent(kSimColourCameraId));
    ASSERT_TRUE(simFireRecordEvent(kSimColourCameraId));
    EXPECT_EQ(ready(kSimColourCameraId), 1u);  // a flag, not the count
    EXPECT_EQ(recordOf(kSimColourCameraId).frameReadyCount.load(), 3u);

    EXPECT_EQ(run(1, "MemoryStopGrab", {double(kSimColourCameraId)}).word(0), 0u);
    EXPECT_EQ(ready(kSimColourCameraId), 0u);
    EXPECT_FALSE(simFireRecordEvent(kSimColourCameraId)) << "a stopped recording calls back no more";
}

TEST_F(MemoryRecording, StartClearsTheReadyCountWhateverItsOutcome) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    ASSERT_EQ(startGrab(kSimColourCameraId, 0, 0, 0, 1), 0u);
    ASSERT_TRUE(simFireRecordEvent(kSimColourCameraId));
    // The simulator refuses a second start while the first one runs.
    EXPECT_EQ(startGrab(kSimColourCameraId, 0, 0, 0, 1), 12u);
    EXPECT_EQ(ready(kSimColourCameraId), 0u);
    // The recording that runs on still counts.
    ASSERT_TRUE(simFireRecordEvent(kSimColourCameraId));
    EXPECT_EQ(ready(kSimColourCameraId), 1u);
}

TEST_F(MemoryRecording, RefusedStartAnswers12WithTheContextWrittenAndHandedOver) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    simForceResult("drvStartRecording", 1);
    simClearCallLog();
    EXPECT_EQ(startGrab(kSimColourCameraId, 7, 8, 9, 10), 12u);
    EXPECT_EQ(ready(kSimColourCameraId), 0u);

    EXPECT_EQ(recordOf(kSimColourCameraId).segmentArgument.load(), 9u);

    auto log = simCallLog();
    ASSERT_EQ(log.size(), 2u);  // the type read and the start; the poll calls nothing
    EXPECT_EQ(log[0].operation, "drvGetCameraInfo");
    EXPECT_EQ(log[0].arguments[1], 0u);
    const uint64_t handle = handleOf(kSimColourCameraId);
    ASSERT_EQ(log[1].arguments.size(), 8u);
    EXPECT_EQ(std::vector<uint64_t>(log[1].arguments.begin(), log[1].arguments.begin() + 7),
              (std::vector<uint64_t>{handle, 7, 8, 9, 10, address(reinterpret_cast<void*>(&onRecordEvent)), 1}));
    // The refused start's context counts for nobody: the driver did not take it.
    onRecordEvent(reinterpret_cast<void*>(uintptr_t(log[1].arguments[7])), 0, 0);
    EXPECT_EQ(ready(kSimColourCameraId), 0u);
}

TEST_F(MemoryRecording, OnlyTypesTwelveToFourteenAreResetBeforeRecording) {
    for (uint32_t type : {11u, 12u, 13u, 14u, 15u}) {
        const uint32_t id = 2000 + type;
        ASSERT_EQ(addAndOpen(id, type, true), 0u);
        simClearCallLog();
        EXPECT_EQ(startGrab(id, 0, 0, 0, 1), 0u) << type;
        std::vector<std::string> expected = {"drvGetCameraInfo", "drvStartRecording"};
        if (type >= 12 && type <= 14) expected.insert(expected.begin() + 1, "drvReset");
        EXPECT_EQ(operations(), expected) << type;
    }
}

TEST_F(MemoryRecording, SegmentedCameraClearsTheWholeTableAndAsksForSegmentArgumentPlusOneEntries) {
    ASSERT_EQ(open(kSimSegmentedCameraId), 0u);
    AcquisitionSlot& slot = recordOf(kSimSegmentedCameraId);
    std::fill(std::begin(slot.segmentTable), std::end(slot.segmentTable), 0xABABu);
    ASSERT_EQ(startGrab(kSimSegmentedCameraId, 8, 0, 3, 1), 0u);  // 8 frames in 4 segments
    simClearCallLog();

    ASSERT_TRUE(simFireRecordEvent(kSimSegmentedCameraId));
    const uint64_t handle = handleOf(kSimSegmentedCameraId);
    auto log = simCallLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].operation, "drvGetCameraInfo");
    EXPECT_EQ(log[0].arguments[1], 0u);
    EXPECT_EQ(log[1].arguments, (std::vector<uint64_t>{handle, 0, 4, address(slot.segmentTable)}));
    EXPECT_TRUE(std::all_of(std::begin(slot.segmentTable), std::end(slot.segmentTable),
                            [](uint64_t entry) { return entry == 0; }))
        << "one segment begun at position 0; everything else cleared";

    for (int i = 0; i < 7; ++i) ASSERT_TRUE(simFireRecordEvent(kSimSegmentedCameraId));
    EXPECT_EQ(std::vector<uint64_t>(slot.segmentTable, slot.segmentTable + 5),
              (std::vector<uint64_t>{0, 2, 4, 6, 0}));
    EXPECT_EQ(slot.frameReadyCount.load(), 8u);
}

TEST_F(MemoryRecording, OtherTypesCountEventsButNeverTouchTheTable) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    AcquisitionSlot& slot = recordOf(kSimColourCameraId);
    slot.segmentTable[0] = 77;
    slot.segmentTable[kSegmentTableEntries - 1] = 78;
    ASSERT_EQ(startGrab(kSimColourCameraId, 0, 0, 3, 1), 0u);
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(simFireRecordEvent(kSimColourCameraId));
    EXPECT_EQ(simCallCount("drvReadSegmentTable"), 0);
    EXPECT_EQ(slot.segmentTable[0], 77u);
    EXPECT_EQ(slot.segmentTable[kSegmentTableEntries - 1], 78u);
    EXPECT_EQ(slot.frameReadyCount.load(), 2u);
}

TEST_F(MemoryRecording, SegmentCountsBeyondTheTableAreCappedAtItsSize) {
    EXPECT_EQ(segmentEntriesFor(0), 1u);
    EXPECT_EQ(segmentEntriesFor(kSegmentTableEntries - 1), uint32_t(kSegmentTableEntries));
    EXPECT_EQ(segmentEntriesFor(kSegmentTableEntries), uint32_t(kSegmentTableEntries));
    EXPECT_EQ(segmentEntriesFor(0xFFFFFFFFu), uint32_t(kSegmentTableEntries)) << "the +1 must not wrap to 0";

    ASSERT_EQ(open(kSimSegmentedCameraId), 0u);
    ASSERT_EQ(startGrab(kSimSegmentedCameraId, 0, 0, -1, 1), 0u);
    ASSERT_TRUE(simFireRecordEvent(kSimSegmentedCameraId));
    auto calls = simCallLog();
    auto read = std::find_if(calls.begin(), calls.end(),
                             [](const SimCall& call) { return call.operation == "drvReadSegmentTable"; });
    ASSERT_NE(read, calls.end());
    EXPECT_EQ(read->arguments[2], uint64_t(kSegmentTableEntries));
}

TEST_F(MemoryRecording, CallbackOfAClosedCameraTouchesNothing) {
    ASSERT_EQ(open(kSimSegmentedCameraId), 0u);
    ASSERT_EQ(startGrab(kSimSegmentedCameraId, 0, 0, 3, 1), 0u);
    const int index = indexOf(kSimSegmentedCameraId);
    void* context = contextOf(kSimSegmentedCameraId);
    ASSERT_EQ(run(1, "CloseCamera", {double(kSimSegmentedCameraId)}).word(0), 0u);

    // A camera of the same type now holds the slot the closed one had.
    ASSERT_EQ(addAndOpen(3019, kSimSegmentedCameraType, false), 0u);
    ASSERT_EQ(indexOf(3019), index);
    AcquisitionSlot& slot = acquisitionSlot(index);
    slot.segmentTable[0] = 55;
    simClearCallLog();

    onRecordEvent(context, 0, 0);
    EXPECT_TRUE(simCallLog().empty());
    EXPECT_EQ(slot.frameReadyCount.load(), 0u);
    EXPECT_EQ(slot.segmentTable[0], 55u);
}

TEST_F(MemoryRecording, ALateCallbackOfAnEarlierOpenOrStartCountsForNobody) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    const int index = indexOf(kSimColourCameraId);
    ASSERT_EQ(startGrab(kSimColourCameraId, 0, 0, 0, 1), 0u);
    ASSERT_EQ(run(1, "CloseCamera", {double(kSimColourCameraId)}).word(0), 0u);

    // Another camera takes the slot and starts a recording of its own.
    ASSERT_EQ(open(kSimMonoCameraId), 0u);
    ASSERT_EQ(indexOf(kSimMonoCameraId), index);
    ASSERT_EQ(startGrab(kSimMonoCameraId, 10, 0, 0, 1), 0u);
    const void* monoContext = contextOf(kSimMonoCameraId);
    ASSERT_TRUE(simFireLateRecordEvent(kSimColourCameraId));
    EXPECT_EQ(recordOf(kSimMonoCameraId).frameReadyCount.load(), 0u);
    EXPECT_EQ(ready(kSimMonoCameraId), 0u);

    // The same camera closed and opened again, or started again: the
    // earlier start's context no longer counts either.
    ASSERT_EQ(run(1, "MemoryStopGrab", {double(kSimMonoCameraId)}).word(0), 0u);
    ASSERT_EQ(startGrab(kSimMonoCameraId, 10, 0, 0, 1), 0u);
    EXPECT_NE(contextOf(kSimMonoCameraId), monoContext);
    onRecordEvent(const_cast<void*>(monoContext), 0, 0);
    EXPECT_EQ(recordOf(kSimMonoCameraId).frameReadyCount.load(), 0u);
    onRecordEvent(contextOf(kSimMonoCameraId), 0, 0);
    EXPECT_EQ(recordOf(kSimMonoCameraId).frameReadyCount.load(), 1u) << "the current start's context counts";
}

TEST_F(MemoryRecording, TriggerPositionGivesTheDriversThirdAndFourthValues) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    ASSERT_EQ(startGrab(kSimColourCameraId, 5, 2, 0, 1), 0u);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(simFireRecordEvent(kSimColourCameraId));
    testhost::CallResult result = run(3, "MemoryReadTriggerPosition", {double(kSimColourCameraId)});
    EXPECT_EQ(result.word(0), 0u);
    EXPECT_EQ(result.word(1), 2u);  // the trigger position
    EXPECT_EQ(result.word(2), 5u);  // frames recorded
    const SimCall call = simCallLog().back();
    ASSERT_EQ(call.operation, "drvReadTriggerPosition");
    EXPECT_EQ(call.arguments.size(), 5u);

    simForceResult("drvReadTriggerPosition", 1);
    result = run(3, "MemoryReadTriggerPosition", {double(kSimColourCameraId)});
    EXPECT_EQ(result.word(0), 14u);
    EXPECT_EQ(result.word(1), 0u);
    EXPECT_EQ(result.word(2), 0u);
}

}  // namespace
