// Start-up and dispatch: the exit hook, the driver load on the first
// resolved keyword, and the gateway's own messages.
#include "ModuleFixture.h"
#include "acquisition/HostSession.h"
#include "camera/CameraTable.h"

using testhost::Array;

namespace {

class GatewayStartup : public ModuleTest {};

using Error = std::pair<std::string, std::string>;  // identifier, text

TEST_F(GatewayStartup, CallWithoutInputsRaisesAndRegistersNoHook) {
    EXPECT_EQ(identifiedErrorOf(1, {}), Error("QuorvelML:inputCount", "Invalid number of input arguments."));
    EXPECT_EQ(testhost::exitHooksRegistered(), 0);
    EXPECT_EQ(simCallCount("drvLoad"), 0);
}

TEST_F(GatewayStartup, NumericKeywordRaisesButRegistersTheHookOnce) {
    std::vector<Array> inputs;
    inputs.push_back(testhost::scalar(3));
    EXPECT_EQ(identifiedErrorOf(1, inputs),
              Error("QuorvelML:inputKind", "First input to the ZEL camera interface must be a string."));
    EXPECT_EQ(errorOf(1, inputs), "First input to the ZEL camera interface must be a string.");
    EXPECT_EQ(testhost::exitHooksRegistered(), 1);
    EXPECT_EQ(simCallCount("drvLoad"), 0);
}

// A zero character ends the host's text, so the keyword before it must not
// run; Octave does not reclaim the keyword's text when a call ends in an
// error, so the module gives it back itself.
TEST_F(GatewayStartup, UnknownKeywordsNeverLoadTheDriverAndLeaveNoText) {
    for (const std::string& keyword : {std::string("version"), std::string("Version "), std::string(),
                                       std::string("OpenCameras"), std::string("Vers"),
                                       std::string("Version\0junk", 12), std::string("Version\0", 8)}) {
        std::vector<Array> inputs;
        inputs.push_back(testhost::text(keyword));
        EXPECT_EQ(identifiedErrorOf(1, inputs),
                  Error("QuorvelML:unknownCommand", "Unrecognized mode for QuorvelML interface."))
            << keyword;
    }
    EXPECT_TRUE(simCallLog().empty());
    EXPECT_EQ(testhost::keywordTextsReclaimedByHost(), 0);
}

TEST_F(GatewayStartup, KeywordTextThatCannotBeMadeRaisesMemoryError) {
    testhost::failNextArrayToString();
    std::vector<Array> inputs;
    inputs.push_back(testhost::text("Version"));
    EXPECT_EQ(identifiedErrorOf(1, inputs), Error("QuorvelML:memory", "Memory allocation failed."));
    EXPECT_EQ(simCallCount("drvLoad"), 0);
}

TEST_F(GatewayStartup, FirstResolvedCommandPreloadsLoadsAndResetsTheTableOnce) {
    EXPECT_EQ(run(1, "Version").textOutput(0), "2.14.00");
    run(1, "Version");
    auto log = simCallLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].describe(), "drvPreLoad(0, 1, 0)");
    EXPECT_EQ(log[1].describe(), "drvLoad(0)");
    for (int i = 0; i < kMaxCameras; ++i) EXPECT_EQ(cameraSlot(i).key.load(), kFreeSlotKey);
    EXPECT_EQ(testhost::keywordTextsOutstanding(), 0);
}

TEST_F(GatewayStartup, ArgumentErrorOfTheFirstCommandStillLoadsTheDriver) {
    std::vector<Array> inputs;
    inputs.push_back(testhost::text("Trigger"));
    EXPECT_EQ(errorOf(1, inputs), "Invalid number of inputs to Trigger\n");
    EXPECT_EQ(simCallCount("drvLoad"), 1);
}

TEST_F(GatewayStartup, FailedLoadIsRetriedByEveryLaterCommand) {
    simForceResult("drvLoad", 9, 2);
    std::vector<Array> inputs;
    inputs.push_back(testhost::text("Version"));
    EXPECT_EQ(identifiedErrorOf(1, inputs), Error("QuorvelML:driverLoad", "Can not load driver QuorvelML."));
    EXPECT_EQ(errorOf(1, inputs), "Can not load driver QuorvelML.");
    EXPECT_EQ(run(1, "Version").textOutput(0), "2.14.00");
    EXPECT_EQ(simCallCount("drvPreLoad"), 3);
    EXPECT_EQ(simCallCount("drvLoad"), 3);
    EXPECT_TRUE(driverIsLoaded());
}

TEST_F(GatewayStartup, UnloadCallsTheDriverUnloadOnceAndClosesNothing) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    simClearCallLog();
    testhost::unloadModule();
    EXPECT_EQ(operations(), std::vector<std::string>{"drvUnload"});
    EXPECT_NE(FindCameraSlot(kSimColourCameraId), kNoSlot);
}

// A module the host keeps mapped after its exit hook (one pinned by an
// earlier refused unload) finds the driver unloaded at its next call: it
// loads it again, with none of the cameras the driver let go of, and
// nothing counted for them.
TEST_F(GatewayStartup, AModuleKeptMappedLoadsTheDriverAgainAfterAnUnload) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    ASSERT_EQ(run(1, "MemoryStartGrab", {double(kSimColourCameraId), 0, 0, 0, 1}).word(0), 0u);
    ASSERT_TRUE(simFireRecordEvent(kSimColourCameraId));
    testhost::unloadModule();
    simClearCallLog();

    EXPECT_EQ(open(kSimColourCameraId), 0u);
    EXPECT_EQ(simCallCount("drvLoad"), 1);
    EXPECT_TRUE(simCamera(kSimColourCameraId)->state.open) << "opened afresh, not taken for held";
    auto ready = run(2, "GrabIsReady", {double(kSimColourCameraId)});
    EXPECT_EQ(ready.word(1), 0u);
    EXPECT_EQ(open(kSimMonoCameraId), 0u);
    EXPECT_EQ(testhost::exitHooksRegistered(), 1) << "and registers its exit hook again";
}

TEST_F(GatewayStartup, UnloadAfterOnlyFailedCommandsStillUnloads) {
    std::vector<Array> inputs;
    inputs.push_back(testhost::scalar(1));
    errorOf(1, inputs);
    testhost::unloadModule();
    EXPECT_EQ(operations(), std::vector<std::string>{"drvUnload"});
}

TEST_F(GatewayStartup, AbortAnswersZeroAndChangesNothing) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    simClearCallLog();
    auto result = run(1, "Abort", {7});
    EXPECT_EQ(result.word(0), 0u);
    EXPECT_TRUE(simCallLog().empty());
}

}  // namespace
