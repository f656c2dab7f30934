// The one-shot services: one driver call each, their marks on the
// simulated camera, and the trace text as the driver gets it. Their codes
// on failure are rows of the fault matrix.
#include "ModuleFixture.h"
#include "acquisition/AcquisitionState.h"
#include "camera/CameraTable.h"

#include <cstring>
#include <string>
#include <vector>

using testhost::Array;

namespace {

struct Service {
    const char* keyword;
    std::vector<double> extra;  // inputs after the camera id; the trace text comes separately
    const char* operation;
};

const Service kServices[] = {
    {"CalibrateNoiseReduction", {6}, "drvCalibrateNoiseReduction"},
    {"Trigger", {}, "drvTrigger"},
    {"Reset", {}, "drvReset"},
    {"EraseMemory", {}, "drvEraseMemory"},
    {"EnableDiagnosticTrace", {2}, "drvEnableTrace"},
};

class Services : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        ASSERT_EQ(open(kSimColourCameraId), 0u);
        simClearCallLog();
    }

    static testhost::CallResult callService(const Service& service, double cameraId, int nlhs = 1,
                                            const std::string& traceText = "grab") {
        std::vector<Array> inputs;
        inputs.push_back(testhost::text(service.keyword));
        inputs.push_back(testhost::scalar(cameraId));
        bool trace = std::strcmp(service.keyword, "EnableDiagnosticTrace") == 0;
        if (trace) inputs.push_back(testhost::text(traceText));
        for (double value : service.extra) inputs.push_back(testhost::scalar(value));
        return testhost::call(nlhs, inputs);
    }

    static std::string traceCall(const std::string& text, double value) {
        std::vector<Array> inputs;
        inputs.push_back(testhost::text("EnableDiagnosticTrace"));
        inputs.push_back(testhost::scalar(kSimColourCameraId));
        inputs.push_back(testhost::text(text));
        inputs.push_back(testhost::scalar(value));
        EXPECT_EQ(testhost::call(1, inputs).word(0), 0u);
        return simCallLog().back().text;
    }

    static uint64_t handle() { return cameraSlot(FindCameraSlot(kSimColourCameraId)).deviceHandle.load(); }
};

TEST_F(Services, EachMakesExactlyOneDriverCallWithTheHandle) {
    for (const Service& service : kServices) {
        simClearCallLog();
        EXPECT_EQ(callService(service, kSimColourCameraId).word(0), 0u) << service.keyword;
        auto log = simCallLog();
        ASSERT_EQ(log.size(), 1u) << service.keyword;
        EXPECT_EQ(log[0].operation, service.operation);
        EXPECT_EQ(log[0].arguments[0], handle()) << service.keyword;
    }
    auto calls = simCallLog();
    EXPECT_EQ(calls.back().describe(), "drvEnableTrace(" + std::to_string(handle()) + ", 2, \"grab\")");
}

TEST_F(Services, ServicesLeaveTheirMarksOnTheCameraAndNotOnTheSlot) {
    const CameraSlot& slot = cameraSlot(FindCameraSlot(kSimColourCameraId));
    std::vector<uint32_t> settingsBefore(std::begin(slot.settingsBlock), std::end(slot.settingsBlock));
    SimCamera before = *simCamera(kSimColourCameraId);

    for (const Service& service : kServices) callService(service, kSimColourCameraId);
    SimCamera after = *simCamera(kSimColourCameraId);
    EXPECT_EQ(after.counters.calibrations, before.counters.calibrations + 1);
    EXPECT_EQ(after.state.calibrationValue, 6u);
    EXPECT_EQ(after.counters.triggers, before.counters.triggers + 1);
    EXPECT_EQ(after.counters.resets, before.counters.resets + 1);
    EXPECT_EQ(after.counters.erases, before.counters.erases + 1);
    EXPECT_EQ(after.counters.traceSwitches, 1u);
    EXPECT_EQ(after.state.traceText, "grab");
    EXPECT_EQ(after.state.traceValue, 2u);

    // A forced failure has no effect in the simulator; the module's slot is
    // the same after failures as after successes.
    for (const Service& service : kServices) {
        simForceResult(service.operation, 1);
        callService(service, kSimColourCameraId);
    }
    SimCamera afterFailures = *simCamera(kSimColourCameraId);
    EXPECT_EQ(afterFailures.counters.triggers, after.counters.triggers);
    EXPECT_EQ(afterFailures.counters.resets, after.counters.resets);
    EXPECT_EQ(std::vector<uint32_t>(std::begin(slot.settingsBlock), std::end(slot.settingsBlock)), settingsBefore);
    EXPECT_EQ(acquisitionSlot(FindCameraSlot(kSimColourCameraId)).frameReadyCount.load(), 0u);
}

TEST_F(Services, CalibrationValueIsConvertedAndTheTrailingArgumentsAreZero) {
    const std::vector<std::pair<double, uint64_t>> cases = {
        {2.9, 2}, {4294967296.0 + 5, 5}, {-1, 0xFFFFFFFFu}, {0, 0}};
    for (auto [input, passed] : cases) {
        simClearCallLog();
        EXPECT_EQ(run(1, "CalibrateNoiseReduction", {double(kSimColourCameraId), input}).word(0), 0u);
        EXPECT_EQ(simCallLog().at(0).arguments, (std::vector<uint64_t>{handle(), passed, 0, 0})) << input;
    }
}

TEST_F(Services, TraceTextReachesTheDriverWholeUpTo255CharactersAndEmptyAsEmpty) {
    EXPECT_EQ(traceCall("", 1), "");
    EXPECT_EQ(simCamera(kSimColourCameraId)->state.traceText, "");
    EXPECT_EQ(traceCall(std::string(255, 'a'), 1), std::string(255, 'a'));
    std::string longText(300, 'x');
    for (size_t i = 0; i < longText.size(); ++i) longText[i] = static_cast<char>('a' + i % 26);
    EXPECT_EQ(traceCall(longText, 1), longText.substr(0, 255));
    EXPECT_EQ(simCallLog().back().arguments, (std::vector<uint64_t>{handle(), 1}));
    EXPECT_EQ(simCamera(kSimColourCameraId)->state.traceValue, 1u);
    traceCall("off", 0);
    EXPECT_EQ(simCamera(kSimColourCameraId)->state.traceText, "off");
    EXPECT_EQ(simCamera(kSimColourCameraId)->state.traceValue, 0u);
}

}  // namespace
