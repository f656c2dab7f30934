// Faults found by the fuzzer and the memcheck pass, kept as regressions.
#include "ModuleFixture.h"
#include "camera/CameraTable.h"

using testhost::Array;

namespace {

class HardeningRegression : public ModuleTest {};

// Octave does not reclaim mxArrayToString text when a MEX call ends in an
// error: an unknown keyword leaked its text once per call.
TEST_F(HardeningRegression, UnknownKeywordTextIsReleasedByTheModule) {
    for (const char* keyword : {"Bogus", "version", ""}) {
        std::vector<Array> inputs;
        inputs.push_back(testhost::text(keyword));
        EXPECT_EQ(errorOf(1, inputs), "Unrecognized mode for QuorvelML interface.");
    }
    EXPECT_EQ(testhost::keywordTextsReclaimedByHost(), 0);
}

// A zero character ends the host's text: the keyword before it used to run.
TEST_F(HardeningRegression, KeywordHoldingAZeroCharacterIsUnknown) {
    for (const std::string& keyword : {std::string("Version\0junk", 12), std::string("Version\0", 8)}) {
        std::vector<Array> inputs;
        inputs.push_back(testhost::text(keyword));
        EXPECT_EQ(errorOf(1, inputs), "Unrecognized mode for QuorvelML interface.");
    }
    EXPECT_FALSE(moduleState().driverLoaded);
    EXPECT_EQ(simCallCount("drvLoad"), 0);
}

// An empty text argument is a 0x0 character array with no characters at
// all; it reaches the driver as an empty text.
TEST_F(HardeningRegression, EmptyTextArgumentArrivesEmpty) {
    std::vector<Array> inputs;
    inputs.push_back(testhost::text("SetNetAdapterIPAddress"));
    inputs.push_back(testhost::text(""));
    EXPECT_EQ(testhost::call(1, inputs).word(0), 0u);
    EXPECT_EQ(simCallLog().back().describe(), "drvConfigure(0, 1, 0, 0)");
}

}  // namespace

namespace {

class CameraIdOfTheFreeMarker : public ModuleTest {
protected:
    // No slot may hold a handle while it is free.
    static void expectNoHandleInFreeSlots() {
        for (int index = 0; index < kMaxCameras; ++index) {
            if (cameraSlot(index).key.load() == kFreeSlotKey) {
                EXPECT_EQ(cameraSlot(index).deviceHandle.load(), 0u) << "slot " << index;
            }
        }
    }
};

// Found by the fuzzer: a driver that opened camera -1 had it "registered"
// under the free marker, reported as success with its handle in a free slot.
TEST_F(CameraIdOfTheFreeMarker, NamedIsRefusedWithoutOpening) {
    simForceResult("drvOpenCamera", 0, kSimForever);
    testhost::CallResult result = run(2, "OpenCamera", {-1});
    EXPECT_EQ(result.word(0), 2u);
    EXPECT_EQ(result.word(1), 0xFFFFFFFFu);
    EXPECT_EQ(simCallCount("drvOpenCamera"), 0);
    expectNoHandleInFreeSlots();
}

TEST_F(CameraIdOfTheFreeMarker, FirstFoundIsRefusedWithoutOpening) {
    for (uint32_t id : simCameraIds()) simRemoveCamera(id);
    simAddCamera(simMakeCamera(0xFFFFFFFFu, kSimColourCameraType, true));
    testhost::CallResult result = run(2, "OpenCamera", {0});
    EXPECT_EQ(result.word(0), 2u);
    EXPECT_EQ(result.word(1), 0u);
    EXPECT_EQ(simCallCount("drvOpenCamera"), 0);
    expectNoHandleInFreeSlots();
}

}  // namespace
