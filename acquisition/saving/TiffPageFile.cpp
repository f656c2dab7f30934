#include "TiffPageFile.h"

#include "PageChain.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <tiffio.h>
#include <unistd.h>

struct TiffFileIo {
    static TiffPageFile& file(thandle_t handle) { return *static_cast<TiffPageFile*>(handle); }

    static tmsize_t read(thandle_t handle, void* buffer, tmsize_t size) {
        TiffPageFile& f = file(handle);
        if (f.heldPage_.reaches(f.position_ + uint64_t(size)) && !writeHeldPage(f)) return -1;  // it reads what it wrote
        const ssize_t n = pread(f.fd_, buffer, size_t(size), off_t(f.position_));
        if (n > 0) f.showChainFrom(f.position_, static_cast<unsigned char*>(buffer), size_t(n));
        if (n > 0) f.position_ += uint64_t(n);
        return n;
    }

    static tmsize_t write(thandle_t handle, void* buffer, tmsize_t size) {
        TiffPageFile& f = file(handle);
        if (f.failed_) return -1;
        const auto* bytes = static_cast<const unsigned char*>(buffer);
        if (f.position_ < f.committed_) {  // a link to the page being written
            f.heldBack_.emplace_back(f.position_, std::vector<unsigned char>(bytes, bytes + size));
        } else if (f.gathering_ != TiffPageFile::Gathering::None) {
            if (!gather(f, bytes, size_t(size))) return -1;
        } else if (!writeAt(f, f.position_, bytes, size_t(size))) {
            return -1;
        }
        f.position_ += uint64_t(size);
        if (f.position_ > f.end_) f.end_ = f.position_;
        return size;
    }

    // The page being written goes out in one write once libtiff has made
    // it: its strips, which lie one after the other in the caller's buffer
    // and in the file, as one run of that buffer, and the directory libtiff
    // writes after them, copied. Any other write sends what is held first.
    static bool gather(TiffPageFile& f, const unsigned char* bytes, size_t size) {
        TiffPageFile::HeldPage& page = f.heldPage_;
        const uint64_t runEnd = page.offset + page.pixelBytes;
        if (f.gathering_ == TiffPageFile::Gathering::Strips) {
            const bool follows = page.pixels + page.pixelBytes == bytes && runEnd == f.position_;
            if (page.pixelBytes > 0 && follows) {
                page.pixelBytes += size;
                return true;
            }
            if (!writeHeldPage(f)) return false;
            page.offset = f.position_;
            page.pixels = bytes;
            page.pixelBytes = size;
            return true;
        }
        if (page.pixelBytes == 0 || f.position_ < runEnd) return writeHeldPage(f) && writeAt(f, f.position_, bytes, size);
        const size_t at = size_t(f.position_ - runEnd);
        if (page.directory.size() < at + size) page.directory.resize(at + size);
        std::memcpy(page.directory.data() + at, bytes, size);
        return true;
    }

    static bool writeHeldPage(TiffPageFile& f) {
        const TiffPageFile::HeldPage page = std::exchange(f.heldPage_, TiffPageFile::HeldPage{});
        if (page.pixelBytes == 0) return true;
        iovec parts[2] = {{const_cast<unsigned char*>(page.pixels), page.pixelBytes},
                          {const_cast<unsigned char*>(page.directory.data()), page.directory.size()}};
        ssize_t n = 0;
        do n = pwritev(f.fd_, parts, 2, off_t(page.offset));
        while (n < 0 && errno == EINTR);
        if (n < 0) return f.fail(std::strerror(errno));
        // A short write (a size limit, a full disk) goes on a part at a time
        // until it meets the failure itself.
        const size_t pixelsDone = std::min(size_t(n), page.pixelBytes);
        const size_t directoryDone = size_t(n) - pixelsDone;
        return writeAt(f, page.offset + pixelsDone, page.pixels + pixelsDone, page.pixelBytes - pixelsDone) &&
               writeAt(f, page.offset + page.pixelBytes + directoryDone, page.directory.data() + directoryDone,
                       page.directory.size() - directoryDone);
    }

    static bool writeAt(TiffPageFile& f, uint64_t offset, const unsigned char* bytes, size_t size) {
        while (size > 0) {
            const ssize_t n = pwrite(f.fd_, bytes, size, off_t(offset));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return f.fail(std::strerror(n < 0 ? errno : ENOSPC));
            bytes += n;
            offset += uint64_t(n);
            size -= size_t(n);
        }
        return true;
    }

    static toff_t seek(thandle_t handle, toff_t offset, int whence) {
        TiffPageFile& f = file(handle);
        if (whence == SEEK_CUR) offset += f.position_;
        if (whence == SEEK_END) offset += f.end_;
        f.position_ = offset;
        return offset;
    }

    static int close(thandle_t) { return 0; }  // the descriptor is TiffPageFile's
    static toff_t size(thandle_t handle) { return file(handle).end_; }
    static int map(thandle_t, void**, toff_t*) { return 0; }
    static void unmap(thandle_t, void*, toff_t) {}

    static int message(TIFF*, void* handle, const char* module, const char* format, va_list arguments) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, arguments);
        file(handle).libraryMessage_ = std::string(module != nullptr ? module : "libtiff") + ": " + text;
        return 1;
    }

    static int ignore(TIFF*, void*, const char*, const char*, va_list) { return 1; }

    static TIFF* open(TiffPageFile& f, const char* mode) {
        TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
        if (options == nullptr) return nullptr;
        TIFFOpenOptionsSetErrorHandlerExtR(options, message, &f);
        TIFFOpenOptionsSetWarningHandlerExtR(options, ignore, &f);
        f.position_ = 0;
        TIFF* tiff = TIFFClientOpenExt(f.path_.c_str(), mode, &f, read, write, seek, close, size, map, unmap, options);
        TIFFOpenOptionsFree(options);
        return tiff;
    }
};

namespace {

// A classic TIFF's offsets are 32-bit: no byte of it may lie at 4 GiB or beyond.
constexpr uint64_t kClassicTiffEnd = uint64_t(1) << 32;
// A page's directory and its tag data, besides the description, with margin.
constexpr uint64_t kDirectoryBytes = 512;

const char* kindOfNonRegular(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "no regular file";
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Whether the page libtiff has read keeps its pixels in strips inside the
// file's `end` bytes: pages added after a page cut short would become its
// pixels.
bool stripsInside(TIFF* tiff, uint64_t end) {
    uint64_t* offsets = nullptr;
    uint64_t* counts = nullptr;
    if (TIFFIsTiled(tiff) || !TIFFGetField(tiff, TIFFTAG_STRIPOFFSETS, &offsets) ||
        !TIFFGetField(tiff, TIFFTAG_STRIPBYTECOUNTS, &counts))
        return false;
    for (uint32_t strip = 0, strips = TIFFNumberOfStrips(tiff); strip < strips; ++strip)
        if (offsets[strip] > end || counts[strip] > end - offsets[strip]) return false;
    return true;
}

}  // namespace

bool TiffPageFile::fail(const std::string& what) {
    if (!failed_) error_ = what.empty() ? "the TIFF library failed without saying why" : what;
    failed_ = true;
    return false;
}

bool TiffPageFile::refuse(OpenRefusal why, const std::string& what) {
    refusal_ = why;
    return fail(what);
}

// Holds the lock other saves of the file are refused by, and checks that
// the file locked is still the one the name gives (a save that replaced it
// meanwhile renamed another file over the name).
bool TiffPageFile::lockTarget(int fd) {
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        return refuse(errno == EWOULDBLOCK ? OpenRefusal::Busy : OpenRefusal::Other,
                      errno == EWOULDBLOCK ? "another save is writing it" : std::strerror(errno));
    struct stat locked {}, named {};
    if (fstat(fd, &locked) != 0 || stat(path_.c_str(), &named) != 0 || !sameFile(locked, named))
        return refuse(OpenRefusal::Busy, "another save replaced it meanwhile");
    return true;
}

// A file of its own beside the name, made here and so free to remove.
bool TiffPageFile::openReplacement() {
    static std::atomic<unsigned> serial{0};
    // The name's last part is cut where the mark would take it past what a folder takes.
    const size_t nameStart = path_.rfind('/') == std::string::npos ? 0 : path_.rfind('/') + 1;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string mark = ".saving-" + std::to_string(getpid()) + "-" + std::to_string(serial++);
        const size_t kept = std::min(path_.size() - nameStart, size_t(NAME_MAX) - mark.size());
        replacement_ = path_.substr(0, nameStart + kept) + mark;
        fd_ = ::open(replacement_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) return true;
        if (errno != EEXIST) break;
    }
    const std::string reason = std::strerror(errno);
    replacement_.clear();
    return refuse(OpenRefusal::Other, reason);
}

// A file another save made under the name since this replacement began,
// which the lock taken then does not hold, is replaced only once that save
// is done.
bool TiffPageFile::mayTakeName() {
    struct stat locked {}, named {};
    if (lockFd_ >= 0 && fstat(lockFd_, &locked) == 0 && stat(path_.c_str(), &named) == 0 && sameFile(locked, named))
        return true;
    if (lockFd_ >= 0) ::close(lockFd_);
    lockFd_ = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    return lockFd_ < 0 || flock(lockFd_, LOCK_EX | LOCK_NB) == 0;
}

bool TiffPageFile::openFile(const std::string& path, FileOpening opening) {
    path_ = path;
    struct stat named {};
    const bool exists = stat(path.c_str(), &named) == 0;
    struct stat link {};
    if (!exists && lstat(path.c_str(), &link) == 0)  // would be written through, or replaced
        return refuse(OpenRefusal::Other, "it is a link to no file");
    if (exists && !S_ISREG(named.st_mode))
        return refuse(OpenRefusal::Other, std::string("it is ") + kindOfNonRegular(named.st_mode) + ", not a file");
    if (opening == FileOpening::CreateNew) {
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0) return refuse(errno == EEXIST ? OpenRefusal::Exists : OpenRefusal::Other, std::strerror(errno));
        created_ = true;
        if (!lockTarget(fd_)) return false;
    } else if (opening == FileOpening::Replace) {
        if (exists) {
            // A file its owner protected stays, as it would against a write.
            if (access(path.c_str(), W_OK) != 0) return refuse(OpenRefusal::Other, "it is write-protected");
            // A link's file is replaced, beside it, and the link kept.
            char* resolved = realpath(path.c_str(), nullptr);
            if (resolved != nullptr) path_ = resolved;
            std::free(resolved);
            lockFd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            if (lockFd_ < 0) return refuse(OpenRefusal::Other, std::strerror(errno));
            if (!lockTarget(lockFd_)) return false;
        }
        if (!openReplacement()) return false;
        created_ = true;
        if (exists) fchmod(fd_, named.st_mode & 07777);  // the replacement keeps the file's permissions
    } else {
        fd_ = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0) return refuse(OpenRefusal::Other, std::strerror(errno));
        if (!lockTarget(fd_)) return false;
    }
    struct stat status {};
    if (fstat(fd_, &status) != 0) return refuse(OpenRefusal::Other, std::strerror(errno));
    if (!S_ISREG(status.st_mode)) return refuse(OpenRefusal::Other, kindOfNonRegular(status.st_mode));
    end_ = committed_ = uint64_t(status.st_size);
    return true;
}

bool TiffPageFile::formatMatches(const PageFormat& format) {
    TIFF* existing = TiffFileIo::open(*this, "r");
    if (existing == nullptr) return fail("it is no TIFF file (" + libraryMessage_ + ")");
    const uint16_t photometric = format.samplesPerPixel == 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
    std::string mismatch;
    uint64_t page = 0;
    bool more = true;
    do {
        ++page;
        uint32_t width = 0, height = 0;
        uint16_t samples = 0, bits = 0, sampleFormat = 0, pagePhotometric = 0, compression = 0, planar = 0;
        TIFFGetField(existing, TIFFTAG_IMAGEWIDTH, &width);
        TIFFGetField(existing, TIFFTAG_IMAGELENGTH, &height);
        TIFFGetFieldDefaulted(existing, TIFFTAG_SAMPLESPERPIXEL, &samples);
        TIFFGetFieldDefaulted(existing, TIFFTAG_BITSPERSAMPLE, &bits);
        TIFFGetFieldDefaulted(existing, TIFFTAG_SAMPLEFORMAT, &sampleFormat);
        TIFFGetField(existing, TIFFTAG_PHOTOMETRIC, &pagePhotometric);
        TIFFGetFieldDefaulted(existing, TIFFTAG_COMPRESSION, &compression);
        TIFFGetFieldDefaulted(existing, TIFFTAG_PLANARCONFIG, &planar);
        char text[200];
        if (width != format.width || height != format.height || samples != format.samplesPerPixel ||
            bits != format.bitsPerSample) {
            std::snprintf(text, sizeof text,
                          "its page %llu is %u x %u x %u samples of %u bits, the frames %u x %u x %u of %u",
                          static_cast<unsigned long long>(page), width, height, unsigned(samples), unsigned(bits),
                          format.width, format.height, format.samplesPerPixel, format.bitsPerSample);
            mismatch = text;
        } else if (TIFFIsByteSwapped(existing) || sampleFormat != SAMPLEFORMAT_UINT || pagePhotometric != photometric ||
                   compression != COMPRESSION_NONE || planar != PLANARCONFIG_CONTIG) {
            std::snprintf(text, sizeof text,
                          "its page %llu is not stored as a save stores frames (unsigned, uncompressed, "
                          "interleaved, in the host's byte order)",
                          static_cast<unsigned long long>(page));
            mismatch = text;
        } else if (!stripsInside(existing, end_)) {
            std::snprintf(text, sizeof text, "its page %llu keeps pixels in tiles or past the end of the file",
                          static_cast<unsigned long long>(page));
            mismatch = text;
        }
        // A page libtiff cannot read ends its reading as the chain's end would.
        more = mismatch.empty() && !TIFFLastDirectory(existing);
        if (more && !TIFFReadDirectory(existing)) {
            std::snprintf(text, sizeof text, "its page %llu cannot be read (", static_cast<unsigned long long>(page + 1));
            mismatch = text + libraryMessage_ + ")";
            more = false;
        }
    } while (more);
    TIFFClose(existing);
    return mismatch.empty() || fail(mismatch);
}

// Whether the page, with its directory and description, fits below the
// classic TIFF's 4 GiB. Checked before libtiff is given the page: libtiff
// refuses a directory past it, and closing the file after that can spin.
bool TiffPageFile::pageFits(size_t descriptionBytes) {
    if (bigTiff_) return true;
    const uint64_t needed = format_.pageBytes() + descriptionBytes + kDirectoryBytes + 8 * format_.stripCount();
    if (end_ < kClassicTiffEnd && needed <= kClassicTiffEnd - end_) return true;
    return fail("the page would end past 4 GiB, where a classic TIFF's offsets end");
}

// libtiff, which links a new page after the last by walking the chain
// from the header's first page on, is shown a header whose first page is
// the one the pages of this call follow: each call walks its own pages
// only, however many the file holds.
void TiffPageFile::showChainFrom(uint64_t offset, unsigned char* bytes, size_t count) const {
    if (chainFrom_ == 0) return;
    // The header's link to the first page, in the host's byte order.
    const uint64_t linkAt = chainBig_ ? 8 : 4;
    const size_t linkBytes = chainBig_ ? 8 : 4;
    unsigned char link[8];
    const uint32_t classicLink = uint32_t(chainFrom_);
    std::memcpy(link, chainBig_ ? static_cast<const void*>(&chainFrom_) : &classicLink, linkBytes);
    for (size_t k = 0; k < linkBytes; ++k)
        if (linkAt + k >= offset && linkAt + k - offset < count) bytes[linkAt + k - offset] = link[k];
}

bool TiffPageFile::begin(const PageFormat& format, bool bigTiff, bool pagesKnown, uint64_t knownPage) {
    format_ = format;
    const bool append = !created_;
    std::string problem;
    ChainEnd chain;
    if (append && !pageChainEnds(fd_, end_, pagesKnown ? knownPage : 0, chain, problem)) return fail(problem);
    if (append && !pagesKnown && !formatMatches(format)) return false;
    chainFrom_ = chain.lastPage;  // shown in the host's byte order, the only one pages are added in
    chainBig_ = chain.bigTiff;
    tiff_ = TiffFileIo::open(*this, append ? "a" : bigTiff ? "w8" : "w");
    if (tiff_ == nullptr) return fail(libraryMessage_);
    writing_ = true;
    bigTiff_ = TIFFIsBigTIFF(tiff_) != 0;
    committed_ = end_;  // the header of a new file, or every page of an earlier save
    return !failed_;
}

bool TiffPageFile::writePage(unsigned char* pixels, const std::string& description) {
    if (failed_ || tiff_ == nullptr || !pageFits(description.size())) return false;
    const uint16_t photometric = format_.samplesPerPixel == 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
    const bool fieldsSet =
        TIFFSetField(tiff_, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE) && TIFFSetField(tiff_, TIFFTAG_IMAGEWIDTH, format_.width) &&
        TIFFSetField(tiff_, TIFFTAG_IMAGELENGTH, format_.height) &&
        TIFFSetField(tiff_, TIFFTAG_BITSPERSAMPLE, uint16_t(format_.bitsPerSample)) &&
        TIFFSetField(tiff_, TIFFTAG_SAMPLESPERPIXEL, uint16_t(format_.samplesPerPixel)) &&
        TIFFSetField(tiff_, TIFFTAG_PHOTOMETRIC, photometric) &&
        TIFFSetField(tiff_, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
        TIFFSetField(tiff_, TIFFTAG_COMPRESSION, COMPRESSION_NONE) &&
        TIFFSetField(tiff_, TIFFTAG_ROWSPERSTRIP, format_.rowsPerStrip()) &&
        TIFFSetField(tiff_, TIFFTAG_IMAGEDESCRIPTION, description.c_str());
    if (!fieldsSet) return fail(libraryMessage_);
    const size_t stripBytes = format_.rowBytes() * format_.rowsPerStrip();
    const size_t pageBytes = format_.pageBytes();
    gathering_ = Gathering::Strips;
    bool made = true;
    for (uint32_t strip = 0; made && strip < format_.stripCount(); ++strip) {
        unsigned char* bytes = pixels + size_t(strip) * stripBytes;
        const size_t count = std::min(stripBytes, pageBytes - size_t(strip) * stripBytes);
        made = TIFFWriteRawStrip(tiff_, strip, bytes, tmsize_t(count)) == tmsize_t(count);
    }
    gathering_ = Gathering::Directory;
    made = made && TIFFWriteDirectory(tiff_);
    gathering_ = Gathering::None;
    if (!made) {
        heldPage_ = {};
        return fail(libraryMessage_);
    }
    if (!TiffFileIo::writeHeldPage(*this)) return false;
    return commitPage();
}

// The page is on disk: its links may go out now.
bool TiffPageFile::commitPage() {
    for (const auto& [offset, bytes] : heldBack_)
        if (!TiffFileIo::writeAt(*this, offset, bytes.data(), bytes.size())) return false;
    heldBack_.clear();
    committed_ = end_;
    ++pages_;
    return true;
}

void TiffPageFile::close() {
    if (tiff_ != nullptr) {
        TIFFClose(tiff_);  // nothing is left to write; after a failure every write is refused
        tiff_ = nullptr;
    }
    heldBack_.clear();
    if (fd_ >= 0) {
        // Cuts what a failed page left behind the last complete one, a
        // write that failed part way included; were the cut refused, those
        // bytes stay unlinked and no reader reaches them.
        struct stat written {};
        const bool leftBehind =
            failed_ && writing_ && fstat(fd_, &written) == 0 && uint64_t(written.st_size) > committed_;
        [[maybe_unused]] const int cut = leftBehind ? ftruncate(fd_, off_t(committed_)) : 0;
        if (!replacement_.empty()) {
            if (pages_ == 0)
                unlink(replacement_.c_str());
            else if (!mayTakeName()) {
                refuse(OpenRefusal::Busy, "another save is writing it");
                unlink(replacement_.c_str());
                pages_ = 0;
            } else if (rename(replacement_.c_str(), path_.c_str()) != 0) {
                fail(std::string("the new file could not take its name: ") + std::strerror(errno));
                unlink(replacement_.c_str());
                pages_ = 0;
            }
            replacement_.clear();
        } else if (created_ && pages_ == 0) {
            struct stat made {}, named {};
            if (fstat(fd_, &made) == 0 && stat(path_.c_str(), &named) == 0 && sameFile(made, named))
                unlink(path_.c_str());
        }
        struct stat left {};
        if (pages_ > 0 && fstat(fd_, &left) == 0)
            leftAs_ = {left.st_dev, left.st_ino, left.st_size, int64_t(left.st_ctim.tv_sec), int64_t(left.st_ctim.tv_nsec)};
        ::close(fd_);  // after the rename: the lock on a new file holds until its name is in place
        fd_ = -1;
    }
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
}
