// "MemorySaveFrames" and "MemorySaveSegments": a file that libtiff reads
// back whole after every way a save can end, refusals before the driver is
// asked, and the size at which a file becomes a BigTIFF.
#include "RecordingFixture.h"
#include "acquisition/saving/FrameSave.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <tiffio.h>

namespace {

struct Page {
    std::vector<unsigned char> pixels;
    std::string description;
};

bool gReadFailed = false;

void noteReadError(const char*, const char*, va_list) { gReadFailed = true; }

// Every page libtiff reads, or none when it cannot open the file; the
// test fails when libtiff reports any error on the way.
std::vector<Page> readPages(const std::string& path) {
    std::vector<Page> pages;
    if (!std::filesystem::exists(path)) return pages;
    gReadFailed = false;
    TIFFSetErrorHandler(noteReadError);
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    EXPECT_NE(tiff, nullptr);
    if (tiff == nullptr) return pages;
    do {
        Page page;
        const size_t stripBytes = size_t(TIFFStripSize(tiff));
        page.pixels.resize(stripBytes * TIFFNumberOfStrips(tiff));
        tmsize_t read = 0;
        for (uint32_t strip = 0; strip < TIFFNumberOfStrips(tiff); ++strip) {
            const tmsize_t got = TIFFReadEncodedStrip(tiff, strip, page.pixels.data() + read, tmsize_t(stripBytes));
            if (got < 0) return pages;
            read += got;
        }
        page.pixels.resize(size_t(read));
        char* description = nullptr;
        if (TIFFGetField(tiff, TIFFTAG_IMAGEDESCRIPTION, &description)) page.description = description;
        pages.push_back(page);
    } while (TIFFReadDirectory(tiff));
    TIFFClose(tiff);
    EXPECT_FALSE(gReadFailed) << "libtiff reads " << path << " with an error";
    return pages;
}

// The process may write files of at most `bytes` while it lives; a write
// past that fails (EFBIG) instead of raising SIGXFSZ.
class WriteLimit {
public:
    explicit WriteLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~WriteLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

class FrameSave : public RecordingFixture {
protected:
    void SetUp() override {
        RecordingFixture::SetUp();
        folder_ = std::filesystem::temp_directory_path() / ("quorvel_save_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        file_ = (folder_ / "frames.tif").string();
        ASSERT_EQ(open(kSimColourCameraId), 0u);
        setParameter(kSimColourCameraId, kSimParamWidth, 7);
        setParameter(kSimColourCameraId, kSimParamHeight, 5);
        setParameter(kSimColourCameraId, kSimParamPixelFormat, 7);  // three 16-bit samples: 210 bytes a page
        record(kSimColourCameraId, 6);
    }
    void TearDown() override {
        std::filesystem::remove_all(folder_);
        RecordingFixture::TearDown();
    }

    // [status, saved] of the save keyword, or the identifier of its error.
    std::pair<std::vector<uint32_t>, std::string> save(const std::string& keyword, const std::string& path, double first,
                                                       double count, double mode, double planned = 0) {
        std::vector<testhost::Array> inputs;
        inputs.push_back(testhost::text(keyword));
        inputs.push_back(testhost::scalar(kSimColourCameraId));
        inputs.push_back(testhost::text(path));
        for (double value : {first, count, mode, planned}) inputs.push_back(testhost::scalar(value));
        try {
            testhost::CallResult result = testhost::call(2, inputs);
            return {{result.word(0), result.word(1)}, ""};
        } catch (const testhost::HostError& error) {
            return {{}, error.identifier};
        }
    }

    std::filesystem::path folder_;
    std::string file_;
};

TEST_F(FrameSave, AWriteFailingAtAnyByteLeavesAFileOfEveryPageBeforeIt) {
    ASSERT_EQ(save("MemorySaveFrames", file_, 0, 3, 0).first, (std::vector<uint32_t>{0, 3}));
    const std::vector<Page> whole = readPages(file_);
    ASSERT_EQ(whole.size(), 3u);
    EXPECT_NE(whole[0].description.find("\"position\":0,\"segment\":null,\"triggerIndex\":0,\"cameraId\":1001"),
              std::string::npos);
    EXPECT_EQ(whole[2].description, "{\"position\":2,\"segment\":null,\"triggerIndex\":2}");
    const auto size = std::filesystem::file_size(file_);
    for (rlim_t limit = 0; limit <= size; ++limit) {
        std::filesystem::remove(file_);
        std::pair<std::vector<uint32_t>, std::string> result;
        {
            WriteLimit writeLimit(limit);
            result = save("MemorySaveFrames", file_, 0, 3, 0);
        }
        const std::vector<Page> pages = readPages(file_);
        EXPECT_EQ(result.second, limit < size ? "QuorvelML:fileWrite" : "") << limit;
        ASSERT_EQ(pages.size() > 0, std::filesystem::exists(file_)) << "a file without pages is removed; " << limit;
        for (size_t k = 0; k < pages.size(); ++k) EXPECT_EQ(pages[k].pixels, whole[k].pixels) << limit;
        if (!pages.empty()) {
            EXPECT_EQ(std::filesystem::file_size(file_) < size, pages.size() < 3) << "cut after its last page; " << limit;
        }
    }
    // Appending, the pages of the earlier save stay whatever fails.
    ASSERT_EQ(save("MemorySaveFrames", file_, 3, 1, 1).first, (std::vector<uint32_t>{0, 1}));
    const auto one = std::filesystem::file_size(file_);
    for (rlim_t limit = one; limit < one + 400; limit += 7) {
        ASSERT_EQ(save("MemorySaveFrames", file_, 3, 1, 1).first, (std::vector<uint32_t>{0, 1}));
        WriteLimit writeLimit(limit);
        save("MemorySaveFrames", file_, 4, 2, 2);
        const size_t pages = readPages(file_).size();
        EXPECT_GE(pages, 1u) << limit;
        if (pages == 1) {
            EXPECT_EQ(std::filesystem::file_size(file_), one) << "the bytes of a failed page are cut; " << limit;
        }
    }
}

TEST_F(FrameSave, ADriverFailureEndsTheSaveWithTheFramesBeforeIt) {
    EXPECT_EQ(save("MemorySaveFrames", file_, 3, 5, 0).first, (std::vector<uint32_t>{13, 3}))
        << "position 6 holds nothing";
    simForceResultAfter(SimOperation::drvReadMemory, 1, 1);
    EXPECT_EQ(save("MemorySaveFrames", file_, 0, 4, 2).first, (std::vector<uint32_t>{13, 1}));
    const std::vector<Page> pages = readPages(file_);
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_EQ(pages[3].description, "{\"position\":0,\"segment\":null,\"triggerIndex\":0}");
    simForceResultAfter(SimOperation::drvReadMemory, 0, 1);
    EXPECT_EQ(save("MemorySaveSegments", file_, 0, 2, 1).first, (std::vector<uint32_t>{13, 0}));
    EXPECT_EQ(readPages(file_).size(), 4u) << "a replacement without a page leaves the file";
}

TEST_F(FrameSave, FileProblemsAreRefusedBeforeTheDriverIsAsked) {
    std::ofstream(file_) << "kept";
    simClearCallLog();
    EXPECT_EQ(save("MemorySaveFrames", file_, 0, 2, 0).second, "QuorvelML:fileExists");
    EXPECT_EQ(save("MemorySaveFrames", (folder_ / "none" / "f.tif").string(), 0, 2, 1).second, "QuorvelML:fileOpen");
    EXPECT_EQ(save("MemorySaveFrames", folder_.string(), 0, 2, 1).second, "QuorvelML:fileOpen") << "a folder";
    EXPECT_EQ(save("MemorySaveFrames", file_, 0, 2, 3).second, "QuorvelML:inputValue") << "no such mode";
    EXPECT_EQ(save("MemorySaveFrames", std::string("a\0b", 3), 0, 2, 1).second, "QuorvelML:inputValue");
    EXPECT_TRUE(simCallLog().empty());
    EXPECT_EQ(save("MemorySaveFrames", file_, 0, 2, 2).second, "QuorvelML:fileFormat") << "no TIFF to append to";
    std::string kept;
    std::ifstream(file_) >> kept;
    EXPECT_EQ(kept, "kept");
    ASSERT_EQ(run(1, "CloseCamera", {kSimColourCameraId}).word(0), 0u);
    EXPECT_EQ(save("MemorySaveFrames", file_ + "2", 0, 2, 0).first, (std::vector<uint32_t>{13, 0}));
    EXPECT_FALSE(std::filesystem::exists(file_ + "2"));
}

TEST_F(FrameSave, AFilePlannedPast4GiBIsABigTiff) {
    EXPECT_FALSE(needsBigTiff(4000, 1 << 20));
    EXPECT_TRUE(needsBigTiff(4096, 1 << 20));
    EXPECT_TRUE(needsBigTiff(1, size_t(1) << 32));
    EXPECT_FALSE(needsBigTiff(0, 1 << 20));
    const double pagesPast4GiB = double((uint64_t(1) << 32) / 210 + 1);
    for (double planned : {0.0, pagesPast4GiB}) {
        ASSERT_EQ(save("MemorySaveFrames", file_, 0, 2, 1, planned).first, (std::vector<uint32_t>{0, 2}));
        std::ifstream file(file_, std::ios::binary);
        char header[4] = {};
        file.read(header, 4);
        EXPECT_EQ(header[2], planned > 0 ? 43 : 42) << "the version word of a BigTIFF and a classic TIFF";
        EXPECT_EQ(readPages(file_).size(), 2u);
    }
}

}  // namespace
