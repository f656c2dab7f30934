// Saving as a careless or hostile caller would use it: replacing what must
// stay, special files, a frame too large for memory, files to append to
// that loop, end near 4 GiB or store their pages otherwise, a second save
// of the same file, and numbers that are not exactly what a keyword takes.
#include "RecordingFixture.h"
#include "acquisition/saving/TiffPageFile.h"

#include <cmath>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <tiffio.h>
#include <unistd.h>

namespace {

constexpr uint32_t kWidth = 7, kHeight = 5;  // three 16-bit samples: 210 bytes a page

std::string contentOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

uint16_t pagesIn(const std::string& path) {
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (tiff == nullptr) return 0;
    const uint16_t pages = TIFFNumberOfDirectories(tiff);
    TIFFClose(tiff);
    return pages;
}

// Runs the work in a child process: true when it exits 0 within the
// seconds, false when it fails or hangs (the child is then killed).
bool finishesInTime(const std::function<bool()>& work, int seconds) {
    const pid_t child = fork();
    if (child == 0) _exit(work() ? 0 : 1);
    int status = 0;
    for (int tenth = 0; tenth < seconds * 10; ++tenth) {
        if (waitpid(child, &status, WNOHANG) == child) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        usleep(100000);
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return false;
}

// A one-page TIFF of the frames' size written by libtiff as `mode` and the
// tags say, a different store of the same size.
void writeForeignTiff(const std::string& path, const char* mode, uint16_t sampleFormat, uint16_t compression) {
    TIFF* tiff = TIFFOpen(path.c_str(), mode);
    ASSERT_NE(tiff, nullptr);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, kWidth);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, kHeight);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 16);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, sampleFormat);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, compression);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, kHeight);
    std::vector<uint16_t> pixels(kWidth * kHeight * 3, 263);
    TIFFWriteEncodedStrip(tiff, 0, pixels.data(), tmsize_t(pixels.size() * 2));
    TIFFClose(tiff);
}

// The bytes this process has read from files so far, as the kernel counts them.
uint64_t bytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    std::string key;
    uint64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return 0;
}

class FrameSaveHostile : public RecordingFixture {
protected:
    void SetUp() override {
        RecordingFixture::SetUp();
        folder_ = std::filesystem::temp_directory_path() / ("quorvel_hostile_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        file_ = (folder_ / "frames.tif").string();
        ASSERT_EQ(open(kSimColourCameraId), 0u);
        setParameter(kSimColourCameraId, kSimParamWidth, kWidth);
        setParameter(kSimColourCameraId, kSimParamHeight, kHeight);
        setParameter(kSimColourCameraId, kSimParamPixelFormat, 7);
        record(kSimColourCameraId, 6);
    }
    void TearDown() override {
        std::filesystem::remove_all(folder_);
        RecordingFixture::TearDown();
    }

    // [status, saved] of MemorySaveFrames, or the identifier of its error.
    std::pair<std::vector<uint32_t>, std::string> save(const std::string& path, double first, double count,
                                                       double mode, double planned = 0) {
        return saveWith(testhost::text(path), {first, count, mode, planned});
    }
    std::pair<std::vector<uint32_t>, std::string> saveWith(testhost::Array name, std::vector<double> numbers) {
        std::vector<testhost::Array> inputs;
        inputs.push_back(testhost::text("MemorySaveFrames"));
        inputs.push_back(testhost::scalar(kSimColourCameraId));
        inputs.push_back(std::move(name));
        for (double value : numbers) inputs.push_back(testhost::scalar(value));
        try {
            testhost::CallResult result = testhost::call(2, inputs);
            return {{result.word(0), result.word(1)}, ""};
        } catch (const testhost::HostError& error) {
            return {{}, error.identifier};
        }
    }

    // The file's frame format as the save writes it.
    static PageFormat frameFormat() {
        PageFormat format;
        format.width = kWidth;
        format.height = kHeight;
        format.samplesPerPixel = 3;
        format.bitsPerSample = 16;
        return format;
    }

    // Another save's page, added to a file opened for it.
    static bool writeOnePage(TiffPageFile& file, const char* description) {
        std::vector<unsigned char> pixels(frameFormat().pageBytes(), 5);
        return file.begin(frameFormat(), false) && file.writePage(pixels.data(), description);
    }

    std::filesystem::path folder_;
    std::string file_;
};

TEST_F(FrameSaveHostile, AReplaceThatSavesNothingLeavesTheOldFileByteForByte) {
    ASSERT_EQ(save(file_, 0, 3, 0).first, (std::vector<uint32_t>{0, 3}));
    const std::string earlier = contentOf(file_);
    EXPECT_EQ(save(file_, 100, 2, 1).first, (std::vector<uint32_t>{13, 0})) << "positions never recorded";
    simForceResultAfter(SimOperation::drvReadMemory, 0, 1);
    EXPECT_EQ(save(file_, 0, 2, 1).first, (std::vector<uint32_t>{13, 0})) << "the first read fails";
    EXPECT_EQ(save(file_, 0, 0, 1).first, (std::vector<uint32_t>{0, 0})) << "no frames asked for";
    EXPECT_EQ(contentOf(file_), earlier);
    const std::string notes = (folder_ / "notes.txt").string();
    std::ofstream(notes) << "my notes";
    EXPECT_EQ(save(notes, 100, 1, 1).first, (std::vector<uint32_t>{13, 0}));
    EXPECT_EQ(contentOf(notes), "my notes");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 2) << "no file left beside them";
    std::filesystem::permissions(file_, std::filesystem::perms(0640));
    ASSERT_EQ(save(file_, 4, 1, 1).first, (std::vector<uint32_t>{0, 1}));
    EXPECT_EQ(pagesIn(file_), 1) << "a replacement with a page takes the name";
    EXPECT_EQ(std::filesystem::status(file_).permissions(), std::filesystem::perms(0640)) << "and its permissions";
    const std::string link = (folder_ / "link.tif").string();
    std::filesystem::create_symlink(file_, link);
    ASSERT_EQ(save(link, 0, 2, 1).first, (std::vector<uint32_t>{0, 2}));
    EXPECT_TRUE(std::filesystem::is_symlink(link)) << "a link's file is replaced, the link kept";
    EXPECT_EQ(pagesIn(file_), 2);
}

TEST_F(FrameSaveHostile, ANameThatIsNoRegularFileIsRefusedAndKept) {
    const std::string fifo = (folder_ / "fifo").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string socketPath = (folder_ / "socket").string();
    const int listening = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
    ASSERT_EQ(bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    simClearCallLog();
    for (const std::string& special : {fifo, socketPath, folder_.string()})
        for (double mode : {1.0, 2.0}) {
            EXPECT_EQ(save(special, 0, 2, mode).second, "QuorvelML:fileOpen") << special << " mode " << mode;
            EXPECT_TRUE(std::filesystem::exists(special)) << special;
        }
    EXPECT_TRUE(simCallLog().empty());
    close(listening);
}

TEST_F(FrameSaveHostile, AFrameTooLargeForMemoryAnswers7WithoutAFile) {
    setParameter(kSimColourCameraId, kSimParamWidth, 1u << 31);
    setParameter(kSimColourCameraId, kSimParamHeight, 1u << 31);
    EXPECT_EQ(save(file_, 0, 2, 0).first, (std::vector<uint32_t>{7, 0}));
    EXPECT_FALSE(std::filesystem::exists(file_));
}

TEST_F(FrameSaveHostile, AppendingToAPageChainThatLoopsIsRefusedInTime) {
    ASSERT_EQ(save(file_, 0, 2, 0).first, (std::vector<uint32_t>{0, 2}));
    // The second page's link to a next page points back at the first page.
    const int fd = ::open(file_.c_str(), O_RDWR);
    uint32_t first = 0, second = 0;
    uint16_t entries = 0;
    ASSERT_EQ(pread(fd, &first, 4, 4), 4);
    ASSERT_EQ(pread(fd, &entries, 2, first), 2);
    ASSERT_EQ(pread(fd, &second, 4, first + 2 + 12 * entries), 4);
    ASSERT_EQ(pread(fd, &entries, 2, second), 2);
    ASSERT_EQ(pwrite(fd, &first, 4, second + 2 + 12 * entries), 4);
    ::close(fd);
    const std::string looped = contentOf(file_);
    ASSERT_TRUE(finishesInTime([&] {  // only then may this process try it
        TiffPageFile file;
        const bool refused = file.openFile(file_, FileOpening::Append) && !file.begin(frameFormat(), false);
        return refused && file.error().find("links back") != std::string::npos;
    }, 10));
    EXPECT_EQ(save(file_, 2, 1, 2).second, "QuorvelML:fileFormat");
    EXPECT_EQ(contentOf(file_), looped);
}

TEST_F(FrameSaveHostile, AppendingToAPageClaimingCountlessEntriesIsRefusedInTime) {
    // A sparse BigTIFF whose one page claims 10^9 entries: 20 GB of zeros.
    {
        std::ofstream tiff(file_, std::ios::binary);
        const uint16_t header[] = {0x4949, 43, 8, 0};
        const uint64_t firstPage = 16, entries = 1000000000;
        tiff.write(reinterpret_cast<const char*>(header), sizeof header);
        tiff.write(reinterpret_cast<const char*>(&firstPage), 8);
        tiff.write(reinterpret_cast<const char*>(&entries), 8);
    }
    std::filesystem::resize_file(file_, uint64_t(100) << 30);
    EXPECT_TRUE(finishesInTime([&] {
        TiffPageFile file;
        return file.openFile(file_, FileOpening::Append) && !file.begin(frameFormat(), false);
    }, 10));
}

TEST_F(FrameSaveHostile, AppendingPastAClassicTiffs4GiBFailsCleanlyAtEveryOffset) {
    ASSERT_EQ(save(file_, 0, 1, 0).first, (std::vector<uint32_t>{0, 1}));
    std::vector<unsigned char> pixels(frameFormat().pageBytes(), 7);
    for (uint64_t gap : {100, 150, 250, 300, 400, 600, 900}) {
        const uint64_t end = (uint64_t(1) << 32) - gap;
        std::filesystem::resize_file(file_, end);  // sparse: no disk taken
        // Either the page fits and is added, or the file stays as it was.
        EXPECT_TRUE(finishesInTime([&] {
            TiffPageFile file;
            const bool begun = file.openFile(file_, FileOpening::Append) && file.begin(frameFormat(), false);
            const bool written = file.writePage(pixels.data(), "{\"position\":1}");
            file.close();
            return begun && file.pagesWritten() == (written ? 1 : 0) && written == file.error().empty();
        }, 20)) << gap << " bytes below 4 GiB";
        const bool added = std::filesystem::file_size(file_) > end;
        EXPECT_EQ(pagesIn(file_), added ? 2 : 1) << gap;
        EXPECT_EQ(added, gap >= 900) << gap;
    }
}

TEST_F(FrameSaveHostile, AppendingToPagesStoredOtherwiseIsRefused) {
    const std::vector<std::tuple<const char*, const char*, uint16_t, uint16_t>> stores = {
        {"big-endian", "wb", SAMPLEFORMAT_UINT, COMPRESSION_NONE},
        {"signed", "w", SAMPLEFORMAT_INT, COMPRESSION_NONE},
        {"float16", "w", SAMPLEFORMAT_IEEEFP, COMPRESSION_NONE},
        {"deflated", "w", SAMPLEFORMAT_UINT, COMPRESSION_ADOBE_DEFLATE},
    };
    for (const auto& [name, mode, sampleFormat, compression] : stores) {
        writeForeignTiff(file_, mode, sampleFormat, compression);
        const std::string before = contentOf(file_);
        EXPECT_EQ(save(file_, 0, 1, 2).second, "QuorvelML:fileFormat") << name;
        EXPECT_EQ(contentOf(file_), before) << name;
    }
    // A later page stored otherwise is found as well as a first one.
    ASSERT_EQ(save(file_, 0, 1, 1).first, (std::vector<uint32_t>{0, 1}));
    TIFF* tiff = TIFFOpen(file_.c_str(), "a");
    ASSERT_NE(tiff, nullptr);
    TIFFClose(tiff);
    writeForeignTiff(file_, "a", SAMPLEFORMAT_INT, COMPRESSION_NONE);
    EXPECT_EQ(save(file_, 1, 1, 2).second, "QuorvelML:fileFormat");
    // So is a later page no reader can read: a directory without a height.
    ASSERT_EQ(save(file_, 0, 1, 1).first, (std::vector<uint32_t>{0, 1}));
    tiff = TIFFOpen(file_.c_str(), "a");
    ASSERT_NE(tiff, nullptr);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, kWidth);
    ASSERT_TRUE(TIFFWriteDirectory(tiff));
    TIFFClose(tiff);
    const std::string unreadable = contentOf(file_);
    EXPECT_EQ(save(file_, 1, 1, 2).second, "QuorvelML:fileFormat");
    EXPECT_TRUE(contentOf(file_) == unreadable);
}

TEST_F(FrameSaveHostile, ASecondSaveOfAFileInUseIsRefusedBeforeTheDriver) {
    ASSERT_EQ(save(file_, 0, 2, 0).first, (std::vector<uint32_t>{0, 2}));
    const std::string before = contentOf(file_);
    const int other = ::open(file_.c_str(), O_RDONLY);  // another save's hold on the file
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
    simClearCallLog();
    EXPECT_EQ(save(file_, 2, 1, 2).second, "QuorvelML:fileBusy");
    EXPECT_EQ(save(file_, 2, 1, 1).second, "QuorvelML:fileBusy");
    EXPECT_TRUE(simCallLog().empty());
    EXPECT_EQ(contentOf(file_), before);
    ::close(other);
    EXPECT_EQ(save(file_, 2, 1, 2).first, (std::vector<uint32_t>{0, 1})) << "free again once released";
    // Between the calls of a save planned for 4 pages another save replaces
    // the file: the save's next call must not add its pages to that one.
    ASSERT_EQ(save(file_, 0, 2, 1, 4).first, (std::vector<uint32_t>{0, 2}));
    const std::string otherFile = (folder_ / "other.tif").string();
    std::filesystem::copy_file(file_, otherFile);  // a file of its own, of the same pages
    std::filesystem::rename(otherFile, file_);
    const std::string replaced = contentOf(file_);
    EXPECT_EQ(save(file_, 2, 2, 2, 4).second, "QuorvelML:fileBusy");
    EXPECT_EQ(contentOf(file_), replaced);
}

TEST_F(FrameSaveHostile, NumbersNotExactlyAModeCountOrFormatAreRefused) {
    ASSERT_EQ(save(file_, 0, 2, 0).first, (std::vector<uint32_t>{0, 2}));
    const std::string before = contentOf(file_);
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    for (double mode : {4294967297.0, 2.5, nan, -1.0})
        EXPECT_EQ(save(file_, 0, 1, mode).second, "QuorvelML:inputValue") << mode;
    for (double count : {inf, 4294967297.0, 0.5, nan})
        EXPECT_EQ(save(file_, 0, count, 2).second, "QuorvelML:inputValue") << count;
    EXPECT_EQ(save(file_, 0, 1, 2, inf).second, "QuorvelML:inputValue") << "planned pages";
    for (size_t position = 3; position < 7; ++position) {  // a complex 1 + 1i is not exactly 1
        std::vector<testhost::Array> inputs;
        inputs.push_back(testhost::text("MemorySaveFrames"));
        inputs.push_back(testhost::scalar(kSimColourCameraId));
        inputs.push_back(testhost::text(file_));
        for (double value : {0.0, 1.0, 1.0, 0.0}) inputs.push_back(testhost::scalar(value));
        inputs[position]->complex = true;
        EXPECT_THROW(testhost::call(2, inputs), testhost::HostError) << "complex input " << position + 1;
    }
    EXPECT_EQ(contentOf(file_), before);
    for (double format : {nan, inf, 2.5, 4294967297.0}) {
        std::vector<testhost::Array> inputs;
        inputs.push_back(testhost::text("CheckPixelFormat"));
        inputs.push_back(testhost::scalar(kSimColourCameraId));
        inputs.push_back(testhost::scalar(format));
        EXPECT_THROW(testhost::call(1, inputs), testhost::HostError) << format;
    }
}

TEST_F(FrameSaveHostile, AFileNameOfAnyLengthTheSystemTakesIsSavedTo) {
    std::filesystem::path deep = folder_;
    for (int k = 0; k < 6; ++k) deep /= std::string(60, char('a' + k));
    std::filesystem::create_directories(deep);
    const std::string longName = (deep / "frames.tif").string();
    ASSERT_GT(longName.size(), 300u);
    EXPECT_EQ(save(longName, 0, 2, 0).first, (std::vector<uint32_t>{0, 2}));
    EXPECT_EQ(pagesIn(longName), 2);
    testhost::Array twoRows = testhost::numeric(mxCHAR_CLASS, {2, 3});
    std::fill(twoRows->bytes.begin(), twoRows->bytes.end(), 'f');
    EXPECT_EQ(saveWith(std::move(twoRows), {0, 1, 1, 0}).second, "QuorvelML:inputValue") << "two rows of text";
}

// Sets the one value of a tag in the first page's directory of a classic
// little-endian TIFF.
void patchFirstPageTag(const std::string& path, uint16_t tag, uint32_t value) {
    const int fd = ::open(path.c_str(), O_RDWR);
    uint32_t directory = 0;
    uint16_t entries = 0;
    ASSERT_EQ(pread(fd, &directory, 4, 4), 4);
    ASSERT_EQ(pread(fd, &entries, 2, directory), 2);
    for (uint16_t k = 0; k < entries; ++k) {
        uint16_t found = 0;
        const off_t entry = off_t(directory) + 2 + 12 * k;
        ASSERT_EQ(pread(fd, &found, 2, entry), 2);
        if (found == tag) {
            ASSERT_EQ(pwrite(fd, &value, 4, entry + 8), 4);
        }
    }
    ::close(fd);
}

TEST_F(FrameSaveHostile, AppendingToAPageWhosePixelsRunPastTheEndIsRefused) {
    // A file cut short where its pixels come after its directory: appended
    // pages would become the cut page's pixels.
    ASSERT_EQ(save(file_, 0, 1, 0).first, (std::vector<uint32_t>{0, 1}));
    patchFirstPageTag(file_, TIFFTAG_STRIPOFFSETS, uint32_t(std::filesystem::file_size(file_) - 10));
    const std::string cut = contentOf(file_);
    EXPECT_EQ(save(file_, 1, 1, 2).second, "QuorvelML:fileFormat");
    EXPECT_TRUE(contentOf(file_) == cut);
}

TEST_F(FrameSaveHostile, AppendingToAFileCutInsideItsLastPagesValuesIsRefused) {
    // The values a page keeps after its directory (its description, then
    // its sample sizes) lie at the file's end: cut, appended pages would
    // become them.
    ASSERT_EQ(save(file_, 0, 2, 0).first, (std::vector<uint32_t>{0, 2}));
    const std::string whole = contentOf(file_);
    for (size_t cut = 1; cut <= 60; ++cut) {
        const std::string cutFile = whole.substr(0, whole.size() - cut);
        std::ofstream(file_, std::ios::binary | std::ios::trunc) << cutFile;
        EXPECT_EQ(save(file_, 2, 1, 2).second, "QuorvelML:fileFormat") << cut;
        EXPECT_TRUE(contentOf(file_) == cutFile) << cut;
    }
}

TEST_F(FrameSaveHostile, PagesAddedBetweenTheCallsOfASaveEndItAsBusy) {
    ASSERT_EQ(save(file_, 0, 2, 0, 6).first, (std::vector<uint32_t>{0, 2}));
    ASSERT_EQ(save(file_, 2, 2, 2, 6).first, (std::vector<uint32_t>{0, 2})) << "the save's own next call";
    {
        TiffPageFile other;  // another save appends to the same file
        ASSERT_TRUE(other.openFile(file_, FileOpening::Append) && writeOnePage(other, "{}"));
    }
    const std::string mixed = contentOf(file_);
    EXPECT_EQ(save(file_, 4, 2, 2, 6).second, "QuorvelML:fileBusy");
    EXPECT_TRUE(contentOf(file_) == mixed);
    EXPECT_EQ(save(file_, 4, 2, 2, 2).first, (std::vector<uint32_t>{0, 2})) << "a save of its own may add to it";
}

TEST_F(FrameSaveHostile, AFileChangedInPlaceBetweenTheCallsOfASaveIsNotAppendedToBlindly) {
    ASSERT_EQ(save(file_, 0, 2, 0, 6).first, (std::vector<uint32_t>{0, 2}));
    usleep(50000);  // past the granularity of the file's change time
    patchFirstPageTag(file_, TIFFTAG_IMAGEWIDTH, kWidth + 1);  // same size, pages of another shape
    const std::string changed = contentOf(file_);
    EXPECT_EQ(save(file_, 2, 2, 2, 6).second, "QuorvelML:fileBusy");
    EXPECT_TRUE(contentOf(file_) == changed);

    // A pixel format changed between the calls of a raw save: the new
    // frames do not match the pages already there.
    ASSERT_EQ(save(file_, 0, 2, 1, 6).first, (std::vector<uint32_t>{0, 2}));
    setParameter(kSimColourCameraId, kSimParamPixelFormat, 2);
    EXPECT_EQ(save(file_, 2, 2, 2, 6).second, "QuorvelML:fileFormat");
    EXPECT_EQ(pagesIn(file_), 2);
}

TEST_F(FrameSaveHostile, ANameAsLongAsTheSystemTakesIsReplacedToo) {
    const std::string longest = (folder_ / (std::string(251, 'n') + ".tif")).string();
    ASSERT_EQ(save(longest, 0, 1, 0).first, (std::vector<uint32_t>{0, 1}));
    EXPECT_EQ(save(longest, 1, 2, 1).first, (std::vector<uint32_t>{0, 2}));
    EXPECT_EQ(pagesIn(longest), 2);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1) << "no file left beside it";
}

TEST_F(FrameSaveHostile, ALinkToNothingIsRefusedAndKept) {
    const std::string link = (folder_ / "link.tif").string();
    std::filesystem::create_symlink(folder_ / "nowhere.tif", link);
    for (double mode : {0.0, 1.0, 2.0}) {
        EXPECT_EQ(save(link, 0, 1, mode).second, "QuorvelML:fileOpen") << mode;
        EXPECT_TRUE(std::filesystem::is_symlink(link)) << mode;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1);
}

TEST_F(FrameSaveHostile, AWriteProtectedFileIsNotReplaced) {
    ASSERT_EQ(save(file_, 0, 1, 0).first, (std::vector<uint32_t>{0, 1}));
    std::filesystem::permissions(file_, std::filesystem::perms(0444));
    std::filesystem::permissions(folder_, std::filesystem::perms(0777));  // a replacement could be made beside it
    const std::string kept = contentOf(file_);
    EXPECT_TRUE(finishesInTime([&] {  // as a user the protection holds for: root writes anything
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return false;
        TiffPageFile file;
        return !file.openFile(file_, FileOpening::Replace) && file.error().find("write-protected") != std::string::npos;
    }, 10));
    EXPECT_TRUE(contentOf(file_) == kept);
}

TEST_F(FrameSaveHostile, AReplacementDoesNotTakeTheNameFromANewFileBeingWritten) {
    TiffPageFile replacing, creating;
    ASSERT_TRUE(replacing.openFile(file_, FileOpening::Replace));  // nothing under the name yet
    ASSERT_TRUE(creating.openFile(file_, FileOpening::CreateNew) && writeOnePage(creating, "{\"position\":0}"));
    ASSERT_TRUE(writeOnePage(replacing, "{\"position\":9}"));
    replacing.close();
    EXPECT_EQ(replacing.refusal(), OpenRefusal::Busy);
    EXPECT_EQ(replacing.pagesWritten(), 0u);
    creating.close();
    EXPECT_EQ(pagesIn(file_), 1);
    EXPECT_NE(contentOf(file_).find("{\"position\":0}"), std::string::npos) << "the new file keeps its name";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1) << "no file left beside it";
    // The same when the file it began to replace was removed and another made.
    TiffPageFile again, remade;
    ASSERT_TRUE(again.openFile(file_, FileOpening::Replace));
    std::filesystem::remove(file_);
    ASSERT_TRUE(remade.openFile(file_, FileOpening::CreateNew) && writeOnePage(remade, "{\"position\":1}"));
    ASSERT_TRUE(writeOnePage(again, "{\"position\":9}"));
    again.close();
    EXPECT_EQ(again.refusal(), OpenRefusal::Busy);
    remade.close();
    EXPECT_NE(contentOf(file_).find("{\"position\":1}"), std::string::npos);
}

TEST_F(FrameSaveHostile, EachCallOfASaveOfFramesApartReadsAsMuchHoweverManyPagesCameBefore) {
    // Frames that are not consecutive are saved one call each: a call that
    // walked every page before it would make such a save slow with its
    // square. Counted in the bytes this process reads from files.
    const auto bytesReadBy30Calls = [&](const std::string& path, int pagesBefore) {
        {
            TiffPageFile made;
            std::vector<unsigned char> pixels(frameFormat().pageBytes(), 5);
            EXPECT_TRUE(made.openFile(path, FileOpening::CreateNew) && made.begin(frameFormat(), false));
            for (int k = 0; k < pagesBefore; ++k) EXPECT_TRUE(made.writePage(pixels.data(), "{}"));
        }
        EXPECT_EQ(save(path, 0, 1, 2, 1000).first, (std::vector<uint32_t>{0, 1}));  // reads every page once
        const uint64_t before = bytesReadSoFar();
        for (int k = 0; k < 30; ++k) EXPECT_EQ(save(path, k % 6, 1, 2, 1000).first, (std::vector<uint32_t>{0, 1}));
        const uint64_t read = bytesReadSoFar() - before;
        EXPECT_EQ(pagesIn(path), pagesBefore + 31);
        return read;
    };
    const uint64_t few = bytesReadBy30Calls((folder_ / "few.tif").string(), 10);
    const uint64_t many = bytesReadBy30Calls((folder_ / "many.tif").string(), 30000);
    EXPECT_LT(many, few + 30 * 1024) << few << " bytes read after 10 pages";
}

}  // namespace
