// "MemoryDownloadRawFrame", "MemoryReadFromDisk", "DiskReadProgress" and
// the disk-read callback; the simulator's recording file round trip.
#include "RecordingFixture.h"
#include "SimRecordingFile.h"
#include "acquisition/AcquisitionState.h"
#include "acquisition/Transfers.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Transfers : public RecordingFixture {
protected:
    void TearDown() override {
        RecordingFixture::TearDown();
        std::remove(file_.c_str());
    }

    uint32_t download(uint32_t cameraId, const std::string& text, std::vector<double> numbers) {
        std::vector<testhost::Array> inputs;
        inputs.push_back(testhost::text("MemoryDownloadRawFrame"));
        inputs.push_back(testhost::scalar(cameraId));
        inputs.push_back(testhost::text(text));
        for (double number : numbers) inputs.push_back(testhost::scalar(number));
        return testhost::call(1, inputs).word(0);
    }

    uint32_t readFromDisk(uint32_t cameraId, std::vector<double> numbers) {
        numbers.insert(numbers.begin(), cameraId);
        return run(1, "MemoryReadFromDisk", numbers).word(0);
    }

    // Status, finished reports, and the latest report's two counts.
    std::vector<uint32_t> progress(uint32_t cameraId) {
        testhost::CallResult result = run(4, "DiskReadProgress", {double(cameraId)});
        return {result.word(0), result.word(1), result.word(2), result.word(3)};
    }

    // The context the camera's current disk read was handed.
    void* contextOf(uint32_t cameraId) {
        const int index = indexOf(cameraId);
        return callbackContext(index, acquisitionSlot(index).diskReadTicket.load());
    }

    const std::string file_ = "/tmp/quorvel-transfers-" + std::to_string(getpid()) + ".qrv";
};

TEST_F(Transfers, OnlyReportsThatReachTheFinalCountAreCountedUnsigned) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    simForceResult("drvReadFromDisk", 0);
    ASSERT_EQ(readFromDisk(kSimColourCameraId, {1, 2, 3, 4, 5, 6}), 0u);
    void* context = contextOf(kSimColourCameraId);
    std::atomic<uint32_t>& count = recordOf(kSimColourCameraId).diskReadCount;

    onDiskReadProgress(context, 3, 10);
    EXPECT_EQ(count.load(), 0u);
    EXPECT_EQ(progress(kSimColourCameraId), (std::vector<uint32_t>{0, 0, 3, 10}));
    onDiskReadProgress(context, 10, 10);
    EXPECT_EQ(count.load(), 1u);
    onDiskReadProgress(context, 11, 10);
    EXPECT_EQ(count.load(), 2u);
    onDiskReadProgress(context, 4294967295u, 1);
    EXPECT_EQ(count.load(), 3u);
    onDiskReadProgress(context, 0, 4294967295u);
    EXPECT_EQ(count.load(), 3u);
}

TEST_F(Transfers, ReadFromDiskHandsTheNumbersCallbackAndContextToTheDriver) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    simForceResult("drvReadFromDisk", 0);
    simClearCallLog();
    ASSERT_EQ(readFromDisk(kSimColourCameraId, {7.9, -2.5, 3, 4, 5, 4294967296.0 + 6}), 0u);
    auto log = simCallLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].arguments,
              (std::vector<uint64_t>{handleOf(kSimColourCameraId), 7, 0xFFFFFFFEu, 3, 4, 5, 6,
                                     address(reinterpret_cast<void*>(&onDiskReadProgress)),
                                     address(contextOf(kSimColourCameraId))}));
}

TEST_F(Transfers, DownloadPassesWholeTextsAndTheFiveNumbersAndRefusesTextsItWouldCut) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    simForceResult("drvDownloadRawFrame", 0, kSimForever);
    simClearCallLog();
    const std::string longest(255, 'x');
    EXPECT_EQ(download(kSimColourCameraId, longest, {7.9, -2.5, 3, 4, 5}), 0u);
    EXPECT_EQ(download(kSimColourCameraId, "", {1, 2, 3, 4, 5}), 0u);
    auto log = simCallLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].text, longest);
    EXPECT_EQ(log[0].arguments, (std::vector<uint64_t>{handleOf(kSimColourCameraId), 7, 0xFFFFFFFEu, 3, 4, 5}));
    EXPECT_TRUE(log[1].hasText);
    EXPECT_EQ(log[1].text, "");

    // Cut at 255 characters or at a zero, the name would be another file's.
    simClearForcedResults();
    for (const std::string& uncut : {file_ + std::string(300, 'x'), file_ + std::string(1, '\0') + "tail"}) {
        EXPECT_EQ(download(kSimColourCameraId, uncut, {0, 0, 1, 0, 0}), 25u);
        EXPECT_EQ(simCallCount("drvDownloadRawFrame"), 2);
    }
}

TEST_F(Transfers, ADownloadToSomethingOtherThanAFileIsRefusedBeforeTheDriver) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    record(kSimColourCameraId, 2);
    const std::string fifo = file_ + ".fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // A reader, so that a driver's open of the FIFO would go through and
    // write rather than block this test.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    simClearCallLog();
    for (const std::string& name : {fifo, std::string("/tmp"), std::string("/dev/null")}) {
        std::string identifier;
        try {
            download(kSimColourCameraId, name, {0, 0, 1, 0, 0});
        } catch (const testhost::HostError& error) {
            identifier = error.identifier;
        }
        EXPECT_EQ(identifier, "QuorvelML:fileOpen") << name;
    }
    EXPECT_EQ(camDownloadRawFrame(kSimColourCameraId, fifo.c_str(), TransferNumbers{{0, 0, 1, 0, 0}}),
              ResultDownloadFailed)
        << "the core refuses it too, for every host";
    EXPECT_EQ(simCallCount("drvDownloadRawFrame"), 0);
    ::close(reader);
    std::remove(fifo.c_str());
}

TEST_F(Transfers, AnIdNoOpenCameraAnswersWithoutTheDriverAndTouchesNoContext) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    const int freeIndex = FindCameraSlot(kFreeSlotKey);
    acquisitionSlot(freeIndex).diskReadTicket = 99;
    acquisitionSlot(freeIndex).diskReadCount = 4;
    simClearCallLog();
    for (double id : {4242.0, -1.0}) {
        EXPECT_EQ(download(uint32_t(int32_t(id)), "f", {0, 0, 0, 0, 0}), 25u);
        EXPECT_EQ(readFromDisk(uint32_t(int32_t(id)), {0, 0, 0, 0, 0, 0}), 13u);
        EXPECT_EQ(progress(uint32_t(int32_t(id))), (std::vector<uint32_t>{13, 0, 0, 0}));
    }
    EXPECT_TRUE(simCallLog().empty());
    EXPECT_EQ(acquisitionSlot(freeIndex).diskReadTicket.load(), 99u);
    EXPECT_EQ(acquisitionSlot(freeIndex).diskReadCount.load(), 4u);
}

TEST_F(Transfers, AReportForAClosedCameraTouchesNoSlot) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    simForceResult("drvReadFromDisk", 0);
    ASSERT_EQ(readFromDisk(kSimColourCameraId, {0, 0, 0, 0, 0, 0}), 0u);
    void* context = contextOf(kSimColourCameraId);
    const int index = indexOf(kSimColourCameraId);
    ASSERT_EQ(run(1, "CloseCamera", {double(kSimColourCameraId)}).word(0), 0u);
    ASSERT_EQ(open(kSimMonoCameraId), 0u);
    ASSERT_EQ(indexOf(kSimMonoCameraId), index);

    onDiskReadProgress(context, 1, 1);
    EXPECT_EQ(acquisitionSlot(index).diskReadCount.load(), 0u);
    // Nor once the camera now in the slot reads from disk itself.
    simForceResult("drvReadFromDisk", 0);
    ASSERT_EQ(readFromDisk(kSimMonoCameraId, {0, 0, 0, 0, 0, 0}), 0u);
    onDiskReadProgress(context, 1, 1);
    EXPECT_EQ(acquisitionSlot(index).diskReadCount.load(), 0u);
}

TEST_F(Transfers, DownloadedFramesReadBackFromDiskIntoMemory) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    setParameter(kSimColourCameraId, kSimParamWidth, 4);
    setParameter(kSimColourCameraId, kSimParamHeight, 2);
    record(kSimColourCameraId, 6);
    const std::vector<uint32_t> recorded = memoryFrames(kSimColourCameraId);

    ASSERT_EQ(download(kSimColourCameraId, file_, {1, 0, 4, 0, 0}), 0u);
    std::optional<SimRecordingFile> file = simReadRecordingFile(file_);
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->frameNumbers, std::vector<uint32_t>(recorded.begin() + 1, recorded.begin() + 5));
    EXPECT_EQ(file->width, 4u);
    EXPECT_EQ(file->pixelFormat, 2u);

    // A new recording of two frames; the file's last three go after them.
    record(kSimColourCameraId, 2);
    ASSERT_EQ(readFromDisk(kSimColourCameraId, {1, 0, 2, 1, 0, 0}), 0u);
    ASSERT_TRUE(simWaitForDiskRead(kSimColourCameraId, 5000));
    std::vector<uint32_t> memory = memoryFrames(kSimColourCameraId);
    ASSERT_EQ(memory.size(), 5u);
    EXPECT_EQ(std::vector<uint32_t>(memory.begin() + 2, memory.end()),
              std::vector<uint32_t>(recorded.begin() + 2, recorded.begin() + 5));
    EXPECT_EQ(progress(kSimColourCameraId), (std::vector<uint32_t>{0, 1, 3, 3})) << "three reports, one of them final";
    simForceResult("drvReadFromDisk", 1);
    ASSERT_EQ(readFromDisk(kSimColourCameraId, {1, 0, 2, 1, 0, 0}), 13u);
    EXPECT_EQ(progress(kSimColourCameraId), (std::vector<uint32_t>{0, 0, 0, 0})) << "a new read starts afresh";
}

TEST_F(Transfers, TheSimulatorRefusesWhatItCannotDo) {
    ASSERT_EQ(open(kSimColourCameraId), 0u);
    EXPECT_EQ(readFromDisk(kSimColourCameraId, {0, 0, 0, 1, 0, 0}), 13u) << "no file downloaded yet";
    EXPECT_EQ(download(kSimColourCameraId, file_, {0, 0, 1, 0, 0}), 25u) << "nothing recorded";
    record(kSimColourCameraId, 2);
    EXPECT_EQ(download(kSimColourCameraId, file_, {1, 0, 2, 0, 0}), 25u) << "position 2 is not recorded";
    EXPECT_EQ(download(kSimColourCameraId, "/nonexistent-folder/x.qrv", {0, 0, 1, 0, 0}), 25u);
    ASSERT_EQ(download(kSimColourCameraId, file_, {0, 0, 2, 0, 0}), 0u);
    EXPECT_EQ(readFromDisk(kSimColourCameraId, {3, 0, 0, 1, 0, 0}), 13u) << "the file holds 2 frames";
    EXPECT_EQ(readFromDisk(kSimColourCameraId, {0, 0, 3, 1, 0, 0}), 13u) << "position 3 leaves a gap";

    std::FILE* broken = std::fopen(file_.c_str(), "r+b");
    ASSERT_NE(broken, nullptr);
    std::fputc('X', broken);
    std::fclose(broken);
    EXPECT_EQ(readFromDisk(kSimColourCameraId, {0, 0, 0, 1, 0, 0}), 13u) << "not a recording file";
}

}  // namespace
