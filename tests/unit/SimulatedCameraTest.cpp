// The simulated camera behind the module: its settings record, the reset
// and erase of its memory, and its refusals, as the module's commands meet
// them.
#include "RecordingFixture.h"

namespace {

class SimulatedCamera : public RecordingFixture {
protected:
    static uint32_t setting(uint32_t parameter) {
        return slotOf(kSimColourCameraId).settingsBlock[kSimSettingsParameterWords + parameter];
    }
    uint32_t setParameter(uint32_t parameter, double value) {
        return run(1, "SetParameter", {double(kSimColourCameraId), double(parameter), value}).word(0);
    }
    uint32_t triggerStatus() {
        return run(3, "MemoryReadTriggerPosition", {double(kSimColourCameraId)}).word(0);
    }
};

TEST_F(SimulatedCamera, TheSettingsRecordHoldsTheValuesItIsGiven) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    EXPECT_EQ(setting(kSimParamWidth), kSimDefaultWidth.value);
    EXPECT_EQ(setting(kSimParamExposure), kSimDefaultExposure.value);
    EXPECT_EQ(setParameter(kSimParamWidth, 512), 0u);
    EXPECT_EQ(setting(kSimParamWidth), 512u);

    // A value outside the limits and a parameter the camera lacks change nothing.
    EXPECT_EQ(setParameter(kSimParamWidth, kSimDefaultWidth.limit1 + 1.0), 4u);
    EXPECT_EQ(setParameter(99, 1), 8u);
    EXPECT_EQ(setting(kSimParamWidth), 512u);
    EXPECT_EQ(setting(99), 0u);
    EXPECT_EQ(simCamera(kSimColourCameraId)->config.parameters.count(99), 0u);
}

TEST_F(SimulatedCamera, ResetEndsTheRecordingAndForgetsTheTriggerEraseEmptiesTheMemory) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    ASSERT_EQ(startGrab(kSimColourCameraId, 4, 1, 0, 1), 0u);
    ASSERT_TRUE(simFireRecordEvent(kSimColourCameraId));
    ASSERT_TRUE(simFireRecordEvent(kSimColourCameraId));
    EXPECT_EQ(triggerStatus(), 0u);

    EXPECT_EQ(run(1, "Reset", {double(kSimColourCameraId)}).word(0), 0u);
    EXPECT_FALSE(simCamera(kSimColourCameraId)->state.memory.recording);
    EXPECT_FALSE(simFireRecordEvent(kSimColourCameraId)) << "no callback after a reset";
    EXPECT_EQ(memoryFrames(kSimColourCameraId).size(), 2u) << "what was recorded stays";
    EXPECT_EQ(triggerStatus(), 14u);

    EXPECT_EQ(run(1, "EraseMemory", {double(kSimColourCameraId)}).word(0), 0u);
    EXPECT_TRUE(memoryFrames(kSimColourCameraId).empty());
    EXPECT_EQ(run(2, "MemoryReadData", {double(kSimColourCameraId), 0, 0, 0}).word(0), 13u);
}

TEST_F(SimulatedCamera, AMisspeltOperationIsRefusedWhereverItIsNamed) {
    EXPECT_THROW(simCallCount("drvOpenCam"), std::invalid_argument);
    EXPECT_THROW(simForceResult("", 1), std::invalid_argument);
    run(1, "Version", {});
    ASSERT_FALSE(simCallLog().empty());
    EXPECT_THROW((void)(simCallLog().back().operation == "drvLoadDriver"), std::invalid_argument);
}

}  // namespace
