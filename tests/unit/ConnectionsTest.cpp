// Opening and closing cameras, checked against the driver calls they make.
#include "ModuleFixture.h"
#include "acquisition/AcquisitionState.h"
#include "camera/CameraTable.h"

using testhost::Array;

namespace {

using Names = std::vector<std::string>;

class Connections : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        run(1, "Version");  // load the driver
        simClearCallLog();
    }

    testhost::CallResult openRaw(const std::string& text) {
        std::vector<Array> inputs;
        inputs.push_back(testhost::text("OpenRawCamera"));
        inputs.push_back(testhost::text(text));
        return testhost::call(2, inputs);
    }

    static CameraSlot* slotOf(int32_t cameraId) { return findOpenCamera(cameraId); }
};

const Names kPreparedOpen = {"drvConfigure",    "drvOpenCamera",  "drvGetCameraInfo",   "drvLoadSettings",
                             "drvSetParameter", "drvPrepareSettings", "drvSendSettings"};

TEST_F(Connections, OpeningANamedCameraPreparesItWithoutEnumerating) {
    auto result = run(2, "OpenCamera", {kSimColourCameraId});
    EXPECT_EQ(result.word(0), 0u);
    EXPECT_EQ(result.word(1), kSimColourCameraId);
    EXPECT_EQ(operations(), kPreparedOpen);
    auto log = simCallLog();
    EXPECT_EQ(log[4].arguments[2], 35u);
    EXPECT_EQ(log[4].arguments[3], 2500u);
    CameraSlot* slot = slotOf(kSimColourCameraId);
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(slot->settingsBlock[0], 1024u);
    EXPECT_EQ(log[3].arguments[1], reinterpret_cast<uintptr_t>(slot->settingsBlock));
    EXPECT_EQ(acquisitionSlot(FindCameraSlot(kSimColourCameraId)).frameReadyCount.load(), 0u);
    EXPECT_EQ(simCamera(kSimColourCameraId)->config.parameters.at(35).value, 2500u);
}

TEST_F(Connections, OpeningZeroOpensTheFirstCameraFound) {
    auto result = run(2, "OpenCamera", {0});
    EXPECT_EQ(result.word(0), 0u);
    EXPECT_EQ(result.word(1), kSimColourCameraId);
    Names expected = kPreparedOpen;
    expected.insert(expected.begin() + 1, "drvEnumCameras");
    EXPECT_EQ(operations(), expected);
    EXPECT_EQ(simCallLog()[1].arguments[2], 0x1FFu);
}

TEST_F(Connections, CameraTypeChoosesTheSettingsLoadAndTheResetAtOpen) {
    struct Case { uint32_t type; const char* load; bool resetAndErase; };
    for (Case c : {Case{8, "drvLoadSettings", false}, Case{9, "drvLoadSettingsEx", false},
                   Case{11, "drvLoadSettingsEx", false}, Case{12, "drvLoadSettingsEx", true},
                   Case{13, "drvLoadSettingsEx", true}, Case{14, "drvLoadSettingsEx", true},
                   Case{15, "drvLoadSettingsEx", false}}) {
        simAddCamera(simMakeCamera(3000 + c.type, c.type, true));
        simClearCallLog();
        ASSERT_EQ(open(3000 + c.type), 0u);
        Names names = operations();
        EXPECT_EQ(names[3], c.load) << c.type;
        bool reset = std::find(names.begin(), names.end(), "drvReset") != names.end();
        bool erased = std::find(names.begin(), names.end(), "drvEraseMemory") != names.end();
        EXPECT_EQ(reset, c.resetAndErase) << c.type;
        EXPECT_EQ(erased, c.resetAndErase) << c.type;
    }
}

TEST_F(Connections, FailedEnumerationOrEmptyListAnswerTwoWithIdZero) {
    simForceResult("drvEnumCameras", 1);
    auto failed = run(2, "OpenCamera", {0});
    EXPECT_EQ(failed.word(0), 2u);
    EXPECT_EQ(failed.word(1), 0u);
    for (uint32_t id : simCameraIds()) simRemoveCamera(id);
    auto empty = run(2, "OpenCamera", {0});
    EXPECT_EQ(empty.word(0), 2u);
    EXPECT_EQ(empty.word(1), 0u);
    EXPECT_EQ(simCallCount("drvOpenCamera"), 0);
}

TEST_F(Connections, ARefusedOpenAnswersTwoRepeatsTheIdAndRegistersNothing) {
    auto result = run(2, "OpenCamera", {4242});
    EXPECT_EQ(result.word(0), 2u);
    EXPECT_EQ(result.word(1), 4242u);
    EXPECT_EQ(slotOf(4242), nullptr);
    EXPECT_EQ(operations(), (Names{"drvConfigure", "drvOpenCamera"}));
}

// Camera id -1 is the table's free marker: named or found first, it is
// refused before the driver opens it, and no free slot holds a handle.
TEST_F(Connections, TheFreeMarkersIdIsRefusedWithoutOpening) {
    simForceResult("drvOpenCamera", 0, kSimForever);
    auto named = run(2, "OpenCamera", {-1});
    EXPECT_EQ(named.word(0), 2u);
    EXPECT_EQ(named.word(1), 0xFFFFFFFFu);

    for (uint32_t id : simCameraIds()) simRemoveCamera(id);
    simAddCamera(simMakeCamera(0xFFFFFFFFu, kSimColourCameraType, true));
    auto firstFound = run(2, "OpenCamera", {0});
    EXPECT_EQ(firstFound.word(0), 2u);
    EXPECT_EQ(firstFound.word(1), 0u);
    EXPECT_EQ(simCallCount("drvOpenCamera"), 0);
    for (int index = 0; index < kMaxCameras; ++index) {
        if (cameraSlot(index).key.load() == kFreeSlotKey) {
            EXPECT_EQ(cameraSlot(index).deviceHandle.load(), 0u) << "slot " << index;
        }
    }
}

TEST_F(Connections, AFailedSettingsLoadAnswersFiveAndLeavesTheCameraRegistered) {
    simForceResult("drvLoadSettings", 1);
    EXPECT_EQ(open(kSimColourCameraId), 5u);
    EXPECT_NE(slotOf(kSimColourCameraId), nullptr);
    EXPECT_EQ(operations().back(), "drvLoadSettings");
    EXPECT_EQ(run(1, "CloseCamera", {kSimColourCameraId}).word(0), 0u);
    EXPECT_FALSE(simCamera(kSimColourCameraId)->state.open);
}

TEST_F(Connections, OpeningZeroClosesTheFirstCameraWhenItIsInUseAndRegistered) {
    ASSERT_EQ(open(0), 0u);
    DeviceHandle first = slotOf(kSimColourCameraId)->deviceHandle;
    simClearCallLog();
    auto result = run(2, "OpenCamera", {0});
    EXPECT_EQ(result.word(0), 0u);
    EXPECT_EQ(result.word(1), kSimColourCameraId);
    auto log = simCallLog();
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(log[2].describe(), "drvStopCapture(" + std::to_string(first) + ")");
    EXPECT_EQ(log[3].describe(), "drvCloseCamera(" + std::to_string(first) + ")");
    EXPECT_EQ(log[4].operation, "drvOpenCamera");
    EXPECT_NE(slotOf(kSimColourCameraId)->deviceHandle.load(), first);
    EXPECT_EQ(FindCameraSlot(kSimColourCameraId), 0);
    EXPECT_EQ(FindCameraSlot(kFreeSlotKey), 1);
}

TEST_F(Connections, AnInUseFirstCameraThatTheTableDoesNotHoldIsLeftToTheDriver) {
    simConfigureCamera(kSimColourCameraId, [](SimCamera& camera) { camera.config.inUse = 1; });
    auto result = run(2, "OpenCamera", {0});
    EXPECT_EQ(result.word(0), 2u);  // the simulated driver refuses a camera in use elsewhere
    EXPECT_EQ(result.word(1), 0u);
    EXPECT_EQ(operations(), (Names{"drvConfigure", "drvEnumCameras", "drvOpenCamera"}));
}

TEST_F(Connections, ReopeningARegisteredCameraKeepsItAndOnlyAsksTheDriverItIsThere) {
    ASSERT_EQ(open(kSimMonoCameraId), 0u);
    DeviceHandle handle = slotOf(kSimMonoCameraId)->deviceHandle;
    simClearCallLog();
    auto result = run(2, "OpenCamera", {kSimMonoCameraId});
    EXPECT_EQ(result.word(0), 0u);
    EXPECT_EQ(result.word(1), kSimMonoCameraId);
    EXPECT_EQ(operations(), (Names{"drvConfigure", "drvEnumCameras"}));
    EXPECT_EQ(slotOf(kSimMonoCameraId)->deviceHandle.load(), handle);
    EXPECT_EQ(FindCameraSlot(kFreeSlotKey), 1);
}

TEST_F(Connections, ACameraTheDriverNoLongerHasIsLetGoAndOpensAgain) {
    auto attached = [&](uint32_t id) { return run(2, "CheckAttached", {double(id)}).word(1); };
    auto close = [&](uint32_t id) { return run(1, "CloseCamera", {double(id)}).word(0); };

    // A driver reset under the module: the camera is listed again, in use nowhere.
    ASSERT_EQ(open(kSimMonoCameraId), 0u);
    EXPECT_EQ(attached(kSimMonoCameraId), 1u);
    simReset();
    EXPECT_EQ(attached(kSimMonoCameraId), 0u);
    EXPECT_EQ(slotOf(kSimMonoCameraId), nullptr);
    EXPECT_EQ(attached(kSimMonoCameraId), 0u) << "an id no camera is held under";
    EXPECT_EQ(open(kSimMonoCameraId), 0u) << "the id opens again";
    EXPECT_TRUE(simCamera(kSimMonoCameraId)->state.open);

    // Held, reset under the module, then opened by id: opened afresh.
    simReset();
    simClearCallLog();
    EXPECT_EQ(open(kSimMonoCameraId), 0u);
    EXPECT_EQ(simCallCount("drvOpenCamera"), 1);
    EXPECT_TRUE(simCamera(kSimMonoCameraId)->state.open);

    // Unplugged: the close the driver refuses lets it go and answers 0.
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    ASSERT_TRUE(simRemoveCamera(kSimColourCameraId));
    EXPECT_EQ(close(kSimColourCameraId), 0u);
    EXPECT_EQ(slotOf(kSimColourCameraId), nullptr);
    EXPECT_EQ(close(kSimColourCameraId), 6u) << "nothing left to close";

    // Where the driver cannot say, the camera stays held.
    ASSERT_TRUE(simRemoveCamera(kSimMonoCameraId));
    simForceResult("drvEnumCameras", 1, kSimForever);
    EXPECT_EQ(close(kSimMonoCameraId), 6u);
    EXPECT_EQ(attached(kSimMonoCameraId), 1u);
    simClearForcedResults();
    EXPECT_EQ(attached(kSimMonoCameraId), 0u);
    ASSERT_EQ(openRaw("raw:x").word(0), 0u);
    EXPECT_EQ(attached(0), 1u) << "the enumeration does not list the raw camera";
    ASSERT_EQ(open(kSimMemoryCameraId), 0u);
    simForceResult("drvEnumCameras", 0);
    EXPECT_EQ(attached(kSimMemoryCameraId), 1u) << "an answer that filled no record proves nothing";
}

TEST_F(Connections, WithEverySlotTakenTheOpenedCameraIsClosedAgain) {
    for (uint32_t i = 0; i < kMaxCameras; ++i) {
        simAddCamera(simMakeCamera(5000 + i, 5, true));
        ASSERT_EQ(open(5000 + i), 0u);
    }
    simClearCallLog();
    auto result = run(2, "OpenCamera", {kSimColourCameraId});
    EXPECT_EQ(result.word(0), 2u);
    EXPECT_EQ(result.word(1), kSimColourCameraId);
    EXPECT_EQ(operations(), (Names{"drvConfigure", "drvOpenCamera", "drvCloseCamera"}));
    EXPECT_FALSE(simCamera(kSimColourCameraId)->state.open);

    auto raw = openRaw("raw:x");
    EXPECT_EQ(raw.word(0), 24u);
    EXPECT_EQ(simCallCount("drvCloseCamera"), 2);
}

TEST_F(Connections, RawCameraOpensUnderZeroWithTheExtendedLoadAndSend) {
    auto result = openRaw("raw:burst");
    EXPECT_EQ(result.word(0), 0u);
    EXPECT_EQ(result.word(1), 0u);
    EXPECT_EQ(operations(), (Names{"drvOpenRawCamera", "drvLoadSettingsEx", "drvSendSettings"}));
    EXPECT_EQ(simCallLog()[0].text, "raw:burst");
    CameraSlot* slot = slotOf(0);
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(slot->settingsBlock[0], 1024u);
}

TEST_F(Connections, RawOpenFailuresAnswerTheirCodesWithIdZero) {
    struct Case { const char* step; uint32_t code; bool registered; };
    for (Case c : {Case{"drvOpenRawCamera", 24, false}, Case{"drvLoadSettingsEx", 7, true},
                   Case{"drvSendSettings", 10, true}}) {
        simForceResult(c.step, 3);
        auto result = openRaw("raw:y");
        EXPECT_EQ(result.word(0), c.code) << c.step;
        EXPECT_EQ(result.word(1), 0u);
        EXPECT_EQ(slotOf(0) != nullptr, c.registered) << c.step;
        if (c.registered) {
            EXPECT_EQ(run(1, "CloseCamera", {0}).word(0), 0u);
        }
    }
}

TEST_F(Connections, ASecondRawCameraIsRefusedWhileOneIsOpen) {
    ASSERT_EQ(openRaw("raw:a").word(0), 0u);
    simClearCallLog();
    EXPECT_EQ(openRaw("raw:b").word(0), 24u);
    EXPECT_TRUE(simCallLog().empty());
}

TEST_F(Connections, CloseStopsClosesAndFreesTheSlot) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    ASSERT_EQ(open(kSimMonoCameraId), 0u);
    DeviceHandle handle = slotOf(kSimColourCameraId)->deviceHandle;
    simClearCallLog();
    EXPECT_EQ(run(1, "CloseCamera", {kSimColourCameraId}).word(0), 0u);
    EXPECT_EQ(operations(), (Names{"drvStopCapture", "drvCloseCamera"}));
    EXPECT_EQ(simCallLog()[1].arguments[0], handle);
    EXPECT_EQ(slotOf(kSimColourCameraId), nullptr);
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    EXPECT_EQ(FindCameraSlot(kSimColourCameraId), 0);  // the lowest free slot again
}

TEST_F(Connections, AFailedCloseAnswersSixKeepsTheCameraAndCanBeRetried) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    simForceResult("drvCloseCamera", 8);
    EXPECT_EQ(run(1, "CloseCamera", {kSimColourCameraId}).word(0), 6u);
    EXPECT_NE(slotOf(kSimColourCameraId), nullptr);
    EXPECT_EQ(run(1, "CloseCamera", {kSimColourCameraId}).word(0), 0u);
    EXPECT_EQ(slotOf(kSimColourCameraId), nullptr);
}

}  // namespace
