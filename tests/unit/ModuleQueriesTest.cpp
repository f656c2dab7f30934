// The read-only queries: the recording reports counted, the serial of a
// camera's open, and which driver library answers. Texts and values are
// written here by hand.
#include "RecordingFixture.h"

#include <sys/stat.h>

namespace {

class ModuleQueries : public RecordingFixture {};

using Error = std::pair<std::string, std::string>;  // identifier, text

Error callError(int nlhs, const std::string& keyword, int scalars) {
    std::vector<testhost::Array> inputs;
    inputs.push_back(testhost::text(keyword));
    for (int i = 0; i < scalars; ++i) inputs.push_back(testhost::scalar(1001));
    try {
        testhost::call(nlhs, inputs);
    } catch (const testhost::HostError& error) {
        return {error.identifier, error.what()};
    }
    return {"", ""};
}

TEST_F(ModuleQueries, CountsAreCheckedWithTheirOwnMessages) {
    EXPECT_EQ(callError(2, "FrameReadyCount", 0), Error("QuorvelML:inputCount", "Invalid number of inputs to FrameReadyCount\n"));
    EXPECT_EQ(callError(1, "FrameReadyCount", 1), Error("QuorvelML:outputCount", "FrameReadyCount needs 2 outputs\n"));
    EXPECT_EQ(callError(2, "OpenSerial", 2), Error("QuorvelML:inputCount", "Invalid number of inputs to OpenSerial\n"));
    EXPECT_EQ(callError(3, "OpenSerial", 1), Error("QuorvelML:outputCount", "OpenSerial needs 2 outputs\n"));
    EXPECT_EQ(callError(2, "DriverInfo", 1), Error("QuorvelML:inputCount", "Invalid number of inputs to DriverInfo\n"));
    EXPECT_EQ(callError(1, "DriverInfo", 0), Error("QuorvelML:outputCount", "DriverInfo needs 2 outputs\n"));
}

TEST_F(ModuleQueries, FrameReadyCountCountsEveryReportSinceTheStart) {
    simSetMemory(kSimColourCameraId, kSimMemoryFrames, 4000, 0);
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    EXPECT_EQ(run(2, "FrameReadyCount", {double(kSimColourCameraId)}).word(1), 0u);
    ASSERT_EQ(startGrab(kSimColourCameraId, 45, 0, 0, 10), 0u);
    ASSERT_TRUE(simWaitForRecording(kSimColourCameraId, 10000));
    testhost::CallResult counted = run(2, "FrameReadyCount", {double(kSimColourCameraId)});
    EXPECT_EQ(counted.word(0), 0u);
    EXPECT_EQ(counted.word(1), 5u) << "a report after frames 10, 20, 30, 40 and the last";
    EXPECT_EQ(run(2, "FrameReadyCount", {4242}).word(1), 0u) << "no camera of that id";
}

TEST_F(ModuleQueries, AnOpenSerialBelongsToOneOpenOfTheCamera) {
    EXPECT_EQ(run(2, "OpenSerial", {double(kSimMonoCameraId)}).word(1), 0u) << "not open";
    ASSERT_EQ(open(kSimMonoCameraId), 0u);
    const uint32_t first = run(2, "OpenSerial", {double(kSimMonoCameraId)}).word(1);
    EXPECT_NE(first, 0u);
    ASSERT_EQ(open(kSimMonoCameraId), 0u);
    EXPECT_EQ(run(2, "OpenSerial", {double(kSimMonoCameraId)}).word(1), first) << "an open of an open camera keeps it";
    ASSERT_EQ(run(1, "CloseCamera", {double(kSimMonoCameraId)}).word(0), 0u);
    ASSERT_EQ(open(kSimMonoCameraId), 0u);
    const uint32_t second = run(2, "OpenSerial", {double(kSimMonoCameraId)}).word(1);
    EXPECT_NE(second, 0u);
    EXPECT_NE(second, first) << "a close and an open make another";
}

TEST_F(ModuleQueries, DriverInfoNamesTheLoadedSimulator) {
    testhost::CallResult info = run(2, "DriverInfo");
    const std::string path = info.textOutput(0);
    const std::string file = "/libQuorvelDrv.so";
    ASSERT_GT(path.size(), file.size());
    EXPECT_EQ(path.substr(path.size() - file.size()), file);
    struct stat status = {};
    EXPECT_EQ(stat(path.c_str(), &status), 0) << path << " is a file";
    EXPECT_EQ(info.word(1), 1u) << "the simulator exports its marker";
}

}  // namespace
