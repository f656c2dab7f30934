// Parameters with their limits, the width and height re-apply rule, camera
// information items, sending the settings and Broc records, on the
// simulated driver.
#include "ModuleFixture.h"
#include "camera/CameraTable.h"
#include "camera/Parameters.h"

#include <string>
#include <vector>

namespace {

class Parameters : public ModuleTest {
protected:
    // Opens the camera and forgets the calls the open made.
    void openQuietly(uint32_t cameraId) {
        ASSERT_EQ(open(cameraId), 0u);
        simClearCallLog();
    }

    // A camera of the type whose item 7 and frame width are as given.
    void addCamera(uint32_t cameraId, uint32_t cameraType, uint32_t modelAttribute, uint32_t width) {
        SimCamera camera = simMakeCamera(cameraId, cameraType, false);
        camera.config.info[kSimInfoModelAttribute] = modelAttribute;
        camera.config.parameters[kSimParamWidth].value = width;
        simAddCamera(camera);
    }

    static CameraSlot& slotOf(int32_t cameraId) { return cameraSlot(FindCameraSlot(cameraId)); }
    static uint64_t handleOf(int32_t cameraId) { return slotOf(cameraId).deviceHandle.load(); }
    static uint64_t settingsOf(int32_t cameraId) { return reinterpret_cast<uintptr_t>(slotOf(cameraId).settingsBlock); }

    static std::vector<uint32_t> words(const testhost::CallResult& result, size_t count) {
        std::vector<uint32_t> values;
        for (size_t i = 0; i < count; ++i) values.push_back(result.word(i));
        return values;
    }

    // The value that the one drvSetParameter call of the log wrote.
    static uint64_t writtenValue() {
        for (const SimCall& call : simCallLog())
            if (call.operation == "drvSetParameter") return call.arguments.at(3);
        ADD_FAILURE() << "no drvSetParameter call";
        return 0;
    }
};

using Words = std::vector<uint32_t>;
using Names = std::vector<std::string>;

TEST_F(Parameters, GetParameterReadsValueThenBothLimitsWithTheSlotsSettings) {
    openQuietly(kSimColourCameraId);
    auto result = run(4, "GetParameter", {double(kSimColourCameraId), double(kSimParamWidth)});
    EXPECT_EQ(words(result, 4), (Words{0, kSimDefaultWidth.value, kSimDefaultWidth.limit0, kSimDefaultWidth.limit1}));

    auto log = simCallLog();
    ASSERT_EQ(log.size(), 3u);
    const uint64_t handle = handleOf(kSimColourCameraId), settings = settingsOf(kSimColourCameraId);
    EXPECT_EQ(log[0].operation, "drvGetParameter");
    EXPECT_EQ((std::vector<uint64_t>(log[0].arguments.begin(), log[0].arguments.begin() + 3)),
              (std::vector<uint64_t>{handle, settings, kSimParamWidth}));
    for (uint64_t selector : {0, 1}) {
        const SimCall& call = log[1 + selector];
        EXPECT_EQ(call.operation, "drvGetParameterLimit");
        EXPECT_EQ((std::vector<uint64_t>(call.arguments.begin(), call.arguments.begin() + 4)),
                  (std::vector<uint64_t>{handle, settings, kSimParamWidth, selector}));
    }
}

TEST_F(Parameters, GetParameterFailedReadKeepsEarlierOutputsAndSkipsLaterReads) {
    openQuietly(kSimColourCameraId);
    const std::vector<double> inputs = {double(kSimColourCameraId), double(kSimParamExposure)};

    simForceResult("drvGetParameter", 4);
    EXPECT_EQ(words(run(4, "GetParameter", inputs), 4), (Words{7, 0, 0, 0}));
    EXPECT_EQ(operations(), (Names{"drvGetParameter"}));

    simClearCallLog();
    simForceResult("drvGetParameterLimit", 1);
    EXPECT_EQ(words(run(4, "GetParameter", inputs), 4), (Words{7, kSimDefaultExposure.value, 0, 0}));
    EXPECT_EQ(operations(), (Names{"drvGetParameter", "drvGetParameterLimit"}));

    simClearCallLog();
    simForceResultAfter("drvGetParameterLimit", 1, 2);
    EXPECT_EQ(words(run(4, "GetParameter", inputs), 4),
              (Words{7, kSimDefaultExposure.value, kSimDefaultExposure.limit0, 0}));
    EXPECT_EQ(operations(), (Names{"drvGetParameter", "drvGetParameterLimit", "drvGetParameterLimit"}));
}

TEST_F(Parameters, GetParameterOfAnUnknownParameterAnswersSeven) {
    openQuietly(kSimMonoCameraId);
    EXPECT_EQ(words(run(4, "GetParameter", {double(kSimMonoCameraId), 999}), 4), (Words{7, 0, 0, 0}));
}

TEST_F(Parameters, NullLimitPointersStillMakeAllThreeReads) {
    openQuietly(kSimMonoCameraId);
    uint32_t value = 0;
    EXPECT_EQ(camGetParameter(kSimMonoCameraId, kParamPixelFormat, &value, nullptr, nullptr), ResultOk);
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(operations(), (Names{"drvGetParameter", "drvGetParameterLimit", "drvGetParameterLimit"}));

    simForceResultAfter("drvGetParameterLimit", 1, 9);
    EXPECT_EQ(camGetParameter(kSimMonoCameraId, kParamPixelFormat, &value, nullptr, nullptr),
              ResultParameterReadFailed);
}

struct WidthCase {
    uint32_t cameraType;
    uint32_t modelAttribute;
    uint32_t width;
    uint32_t written;
};

TEST_F(Parameters, ZeroWidthReappliesTheCurrentWidthTrimmedForTypesOneAndThree) {
    const WidthCase cases[] = {
        {3, 0, 1024, 1004}, {3, 7, 1024, 1004}, {1, 0, 800, 780},  {1, 1, 800, 780},  {1, 2, 800, 800},
        {1, 9, 800, 800},   {2, 0, 640, 640},   {5, 1, 640, 640},  {13, 0, 512, 512}, {19, 1, 512, 512},
    };
    uint32_t cameraId = 2000;
    for (const WidthCase& c : cases) {
        addCamera(++cameraId, c.cameraType, c.modelAttribute, c.width);
        openQuietly(cameraId);
        const std::string label = "type " + std::to_string(c.cameraType) + " item 7 " +
                                  std::to_string(c.modelAttribute);
        EXPECT_EQ(run(1, "SetParameter", {double(cameraId), 15, 0}).word(0), 0u) << label;
        EXPECT_EQ(operations(),
                  (Names{"drvGetCameraInfo", "drvGetCameraInfo", "drvGetParameter", "drvSetParameter"}))
            << label;
        auto log = simCallLog();
        EXPECT_EQ(log[0].arguments[1], kSimInfoCameraType) << label;
        EXPECT_EQ(log[1].arguments[1], kSimInfoModelAttribute) << label;
        EXPECT_EQ(log[2].arguments[2], kSimParamWidth) << label;
        EXPECT_EQ(writtenValue(), c.written) << label;
        EXPECT_EQ(simCamera(cameraId)->config.parameters[kSimParamWidth].value, c.written) << label;
    }
}

TEST_F(Parameters, ZeroHeightReappliesTheCurrentHeightUnchangedOnEveryType) {
    for (uint32_t cameraType : {1u, 3u, 5u}) {
        uint32_t cameraId = 3000 + cameraType;
        addCamera(cameraId, cameraType, 0, 1024);
        simConfigureCamera(cameraId, [](SimCamera& c) { c.config.parameters[kSimParamHeight].value = 700; });
        openQuietly(cameraId);
        EXPECT_EQ(run(1, "SetParameter", {double(cameraId), 16, 0}).word(0), 0u);
        EXPECT_EQ(operations(), (Names{"drvGetParameter", "drvSetParameter"})) << cameraType;
        EXPECT_EQ(writtenValue(), 700u) << cameraType;
    }
}

TEST_F(Parameters, ZeroForAnyOtherParameterAndNonZeroWidthAreWrittenAsGiven) {
    addCamera(3100, 3, 0, 1024);
    openQuietly(3100);
    EXPECT_EQ(run(1, "SetParameter", {3100, double(kSimParamExtraFrames), 0}).word(0), 0u);
    EXPECT_EQ(operations(), (Names{"drvSetParameter"}));
    EXPECT_EQ(writtenValue(), 0u);

    simClearCallLog();
    EXPECT_EQ(run(1, "SetParameter", {3100, 15, 512}).word(0), 0u);
    EXPECT_EQ(operations(), (Names{"drvSetParameter"}));
    EXPECT_EQ(writtenValue(), 512u);
    EXPECT_EQ(simCamera(3100)->config.parameters[kSimParamWidth].value, 512u);
}

TEST_F(Parameters, SetParameterMapsThreeToFourAndEveryOtherFailureToEight) {
    openQuietly(kSimColourCameraId);
    const std::vector<double> inputs = {double(kSimColourCameraId), double(kSimParamExposure), 500};
    for (uint32_t driverResult : {3u, 1u, 2u, 4u, 8u, 0xFFFFFFFFu}) {
        simForceResult("drvSetParameter", driverResult);
        EXPECT_EQ(run(1, "SetParameter", inputs).word(0), driverResult == 3 ? 4u : 8u) << driverResult;
    }
    EXPECT_EQ(simCamera(kSimColourCameraId)->config.parameters[kSimParamExposure].value, kSimDefaultExposure.value);

    // The simulator's own answer to a value outside the limits.
    EXPECT_EQ(run(1, "SetParameter", {double(kSimColourCameraId), 15, kSimDefaultWidth.limit1 + 1.0}).word(0), 4u);
    EXPECT_EQ(run(1, "SetParameter", {double(kSimColourCameraId), 11, 500}).word(0), 0u);
    EXPECT_EQ(simCamera(kSimColourCameraId)->config.parameters[kSimParamExposure].value, 500u);
}

TEST_F(Parameters, FailedPreliminaryReadsDoNotFailTheWrite) {
    addCamera(3200, 3, 0, 1024);
    openQuietly(3200);
    // Without the camera type the width is written untrimmed.
    simForceResult("drvGetCameraInfo", 6, kSimForever);
    EXPECT_EQ(run(1, "SetParameter", {3200, 15, 0}).word(0), 0u);
    EXPECT_EQ(writtenValue(), 1024u);

    // A width that could not be read is written as 0, never trimmed to a
    // wrapped-around value; the simulator refuses 0 as below its limit.
    simClearForcedResults();
    simClearCallLog();
    simForceResult("drvGetParameter", 6);
    EXPECT_EQ(run(1, "SetParameter", {3200, 15, 0}).word(0), 4u);
    EXPECT_EQ(writtenValue(), 0u);
}

TEST_F(Parameters, GetCameraInfoReadsEachItemTheModuleConsults) {
    openQuietly(kSimColourCameraId);
    const std::vector<std::pair<uint32_t, uint32_t>> items = {
        {kSimInfoCameraType, kSimColourCameraType}, {kSimInfoModelAttribute, 1}, {kSimInfoColour, 1},
        {kSimInfoAddressing, 0}};
    for (auto [item, expected] : items)
        EXPECT_EQ(words(run(2, "GetCameraInfo", {double(kSimColourCameraId), double(item)}), 2),
                  (Words{0, expected}))
            << item;
    auto log = simCallLog();
    ASSERT_EQ(log.size(), items.size());
    EXPECT_EQ(log[0].arguments[0], handleOf(kSimColourCameraId));
    EXPECT_NE(log[0].arguments[2], log[0].arguments[3]);  // the second word is a scratch word

    EXPECT_EQ(words(run(2, "GetCameraInfo", {double(kSimColourCameraId), 99}), 2), (Words{9, 0}));
}

TEST_F(Parameters, SendCfgPreparesThenSendsTheSettingsBlock) {
    openQuietly(kSimMemoryCameraId);
    const uint64_t handle = handleOf(kSimMemoryCameraId), settings = settingsOf(kSimMemoryCameraId);
    SimCamera before = *simCamera(kSimMemoryCameraId);

    EXPECT_EQ(run(1, "SendCfg", {double(kSimMemoryCameraId)}).word(0), 0u);
    auto log = simCallLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].operation, "drvPrepareSettings");
    EXPECT_EQ(log[0].arguments, (std::vector<uint64_t>{handle, settings}));
    EXPECT_EQ(log[1].operation, "drvSendSettings");
    EXPECT_EQ(log[1].arguments, (std::vector<uint64_t>{handle, settings}));
    SimCamera after = *simCamera(kSimMemoryCameraId);
    EXPECT_EQ(after.counters.settingsPrepared, before.counters.settingsPrepared + 1);
    EXPECT_EQ(after.counters.settingsSent, before.counters.settingsSent + 1);
}

TEST_F(Parameters, BrocRecordIndexIsTheLastOfTheRecordsAskedFor) {
    openQuietly(kSimSegmentedCameraId);
    for (uint32_t index : {0u, 17u, 255u}) {
        auto result = run(5, "GetBrocParameters", {double(kSimSegmentedCameraId), double(index)});
        Words expected = {0};
        for (uint32_t word = 0; word < 4; ++word) expected.push_back(simBrocWord(kSimSegmentedCameraId, index, word));
        EXPECT_EQ(words(result, 5), expected) << index;
        const SimCall call = simCallLog().back();
        EXPECT_EQ(call.operation, "drvGetBrocParameters");
        EXPECT_EQ(call.arguments[0], handleOf(kSimSegmentedCameraId));
        EXPECT_EQ(call.arguments[2], index + 1);
    }
}

// An index above 255 or negative never reaches the driver; like a failed
// read, it answers 7 with the record cleared.
TEST_F(Parameters, BrocIndexOutOfRangeOrAFailedReadAnswersSevenWithTheClearedRecord) {
    openQuietly(kSimSegmentedCameraId);
    for (double index : {256.0, 1000.0, -1.0, 4294967295.0})
        EXPECT_EQ(words(run(5, "GetBrocParameters", {double(kSimSegmentedCameraId), index}), 5),
                  (Words{7, 0, 0, 0, 0}))
            << index;
    EXPECT_TRUE(simCallLog().empty());
    simForceResult("drvGetBrocParameters", 5);
    EXPECT_EQ(words(run(5, "GetBrocParameters", {double(kSimSegmentedCameraId), 9}), 5), (Words{7, 0, 0, 0, 0}));
}

TEST_F(Parameters, BrocNullOutputsAreSkipped) {
    openQuietly(kSimColourCameraId);
    uint32_t word1 = 0, word3 = 0;
    EXPECT_EQ(camGetBrocParameters(kSimColourCameraId, 4, nullptr, &word1, nullptr, &word3), ResultOk);
    EXPECT_EQ(word1, simBrocWord(kSimColourCameraId, 4, 1));
    EXPECT_EQ(word3, simBrocWord(kSimColourCameraId, 4, 3));
}

}  // namespace
