// Adapter address, PCIe memory and enumeration.
#include "ModuleFixture.h"

using testhost::Array;

namespace {

class Discovery : public ModuleTest {
protected:
    testhost::CallResult setAddress(const std::string& text) {
        std::vector<Array> inputs;
        inputs.push_back(testhost::text("SetNetAdapterIPAddress"));
        inputs.push_back(testhost::text(text));
        return testhost::call(1, inputs);
    }

    // The address the last drvConfigure of option 1 carried.
    static uint64_t lastAddressConfigured() {
        uint64_t address = 0;
        for (const SimCall& call : simCallLog())
            if (call.operation == "drvConfigure" && call.arguments[1] == 1) address = call.arguments[2];
        return address;
    }
};

TEST_F(Discovery, PCIeMemoryGoesToTheDriver) {
    EXPECT_EQ(run(1, "InitPCIeMemory", {256}).word(0), 0u);
    EXPECT_EQ(simCallLog().back().describe(), "drvConfigure(0, 10, 256, 0)");
}

TEST_F(Discovery, EnumerationAndOpenUseAllOnesUntilAnAddressIsSet) {
    run(3, "EnumCameras", {0});
    EXPECT_EQ(lastAddressConfigured(), 0xFFFFFFFFu);
    open(0);
    EXPECT_EQ(lastAddressConfigured(), 0xFFFFFFFFu);
}

TEST_F(Discovery, TheAddressIsKeptEvenWhenTheDriverRefusesIt) {
    simForceResult("drvConfigure", 3);
    EXPECT_EQ(setAddress("192.168.1.10").word(0), 1u);
    simClearCallLog();
    run(3, "EnumCameras", {0});
    EXPECT_EQ(lastAddressConfigured(), 0xC0A8010Au);
    simClearCallLog();
    open(kSimMonoCameraId);
    EXPECT_EQ(simCallLog().front().describe(), "drvConfigure(0, 1, 3232235786, 0)");
    EXPECT_EQ(setAddress("10.0.0").word(0), 0u);
    EXPECT_EQ(lastAddressConfigured(), 0x0A000000u);
}

TEST_F(Discovery, EnumerationListsTheIdentifiersInRecordOrderWithTheCallersFilter) {
    auto result = run(3, "EnumCameras", {0x42});
    EXPECT_EQ(result.word(0), 0u);
    EXPECT_EQ(result.word(1), 4u);
    const mxArray& ids = result.output(2);
    ASSERT_EQ(ids.classId, mxUINT32_CLASS);
    ASSERT_EQ(ids.dimensions, (std::vector<mwSize>{1, 4}));
    const auto* words = reinterpret_cast<const uint32_t*>(ids.bytes.data());
    EXPECT_EQ(std::vector<uint32_t>(words, words + 4),
              (std::vector<uint32_t>{kSimColourCameraId, kSimMonoCameraId, kSimMemoryCameraId, kSimSegmentedCameraId}));
    const SimCall enumeration = simCallLog().back();
    EXPECT_EQ(enumeration.operation, "drvEnumCameras");
    EXPECT_EQ(enumeration.arguments[2], 0x42u);
}

TEST_F(Discovery, NoCamerasGiveAnEmptyRow) {
    for (uint32_t id : simCameraIds()) simRemoveCamera(id);
    auto result = run(3, "EnumCameras", {0});
    EXPECT_EQ(result.word(0), 0u);
    EXPECT_EQ(result.word(1), 0u);
    EXPECT_EQ(result.output(2).dimensions, (std::vector<mwSize>{1, 0}));
}

TEST_F(Discovery, ACountAboveTheTenRecordsOfRoomIsCutToTen) {
    for (uint32_t id = 1; id <= 12; ++id) simAddCamera(simMakeCamera(2000 + id, 5, true));
    simSetReportedEnumCount(4000);
    auto result = run(3, "EnumCameras", {0});
    EXPECT_EQ(result.word(1), 10u);
    ASSERT_EQ(result.output(2).dimensions, (std::vector<mwSize>{1, 10}));
    const auto* words = reinterpret_cast<const uint32_t*>(result.output(2).bytes.data());
    EXPECT_EQ(words[9], 2006u);
}

TEST_F(Discovery, AFailedEnumerationAnswersOneWithZerosSizedByTheCountLeft) {
    simForceResult("drvEnumCameras", 5);
    auto result = run(3, "EnumCameras", {0});
    EXPECT_EQ(result.word(0), 1u);
    EXPECT_EQ(result.word(1), 0u);
    ASSERT_EQ(result.output(2).dimensions, (std::vector<mwSize>{1, 10}));
    for (unsigned char byte : result.output(2).bytes) EXPECT_EQ(byte, 0);
}

}  // namespace
