// Recording, readout and transfer tests: the module fixture with cameras
// that record only when a test fires an event, and no simulator thread left
// behind when a test ends.
#ifndef QUORVEL_TESTS_RECORDINGFIXTURE_H
#define QUORVEL_TESTS_RECORDINGFIXTURE_H

#include "ModuleFixture.h"
#include "acquisition/AcquisitionState.h"
#include "camera/CameraTable.h"

#include <string>

class RecordingFixture : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        for (uint32_t id : simCameraIds()) simSetMemory(id, kSimMemoryFrames, 0, 0);
    }
    void TearDown() override { simReset(); }

    // Adds a camera of the type that records on events only, and opens it.
    uint32_t addAndOpen(uint32_t cameraId, uint32_t cameraType, bool colour) {
        simAddCamera(simMakeCamera(cameraId, cameraType, colour));
        simSetMemory(cameraId, kSimMemoryFrames, 0, 0);
        return open(cameraId);
    }

    static CameraSlot& slotOf(uint32_t cameraId) { return cameraSlot(FindCameraSlot(int32_t(cameraId))); }
    static int indexOf(uint32_t cameraId) { return FindCameraSlot(int32_t(cameraId)); }
    static AcquisitionSlot& recordOf(uint32_t cameraId) { return acquisitionSlot(indexOf(cameraId)); }
    static DeviceHandle handleOf(uint32_t cameraId) { return slotOf(cameraId).deviceHandle.load(); }
    static uint64_t address(const void* pointer) { return reinterpret_cast<uintptr_t>(pointer); }

    // Output 2 of "GrabIsReady"; output 1 must be 0.
    uint32_t ready(uint32_t cameraId) {
        testhost::CallResult result = run(2, "GrabIsReady", {double(cameraId)});
        EXPECT_EQ(result.word(0), 0u);
        return result.word(1);
    }

    uint32_t startGrab(uint32_t cameraId, double frames, double trigger, double segmentArgument, double interval) {
        return run(1, "MemoryStartGrab", {double(cameraId), frames, trigger, segmentArgument, interval}).word(0);
    }

    // Starts a recording of `frames` frames and records them all.
    void record(uint32_t cameraId, uint32_t frames, uint32_t segmentArgument = 0) {
        ASSERT_EQ(startGrab(cameraId, frames, 0, segmentArgument, 1), 0u);
        for (uint32_t i = 0; i < frames; ++i) ASSERT_TRUE(simFireRecordEvent(cameraId));
    }

    // The frame numbers in the camera's memory, by position.
    static std::vector<uint32_t> memoryFrames(uint32_t cameraId) { return simCamera(cameraId)->state.memory.frames; }

    static void setParameter(uint32_t cameraId, uint32_t number, uint32_t value) {
        simConfigureCamera(cameraId, [&](SimCamera& camera) { camera.config.parameters[number].value = value; });
    }
    static void setInfo(uint32_t cameraId, uint32_t item, uint32_t value) {
        simConfigureCamera(cameraId, [&](SimCamera& camera) { camera.config.info[item] = value; });
    }

    // The logged calls of one operation, described.
    static std::vector<std::string> callsOf(const std::string& operation) {
        std::vector<std::string> calls;
        for (const SimCall& call : simCallLog())
            if (call.operation == operation) calls.push_back(call.describe());
        return calls;
    }
};

#endif
