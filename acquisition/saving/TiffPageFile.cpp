#include "TiffPageFile.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <tiffio.h>
#include <unistd.h>

struct TiffFileIo {
    static TiffPageFile& file(thandle_t handle) { return *static_cast<TiffPageFile*>(handle); }

    static tmsize_t read(thandle_t handle, void* buffer, tmsize_t size) {
        TiffPageFile& f = file(handle);
        const ssize_t n = pread(f.fd_, buffer, size_t(size), off_t(f.position_));
        if (n > 0) f.position_ += uint64_t(n);
        return n;
    }

    static tmsize_t write(thandle_t handle, void* buffer, tmsize_t size) {
        TiffPageFile& f = file(handle);
        if (f.failed_) return -1;
        const auto* bytes = static_cast<const unsigned char*>(buffer);
        if (f.position_ < f.committed_) {  // a link to the page being written
            f.heldBack_.emplace_back(f.position_, std::vector<unsigned char>(bytes, bytes + size));
        } else if (!writeAt(f, f.position_, bytes, size_t(size))) {
            return -1;
        }
        f.position_ += uint64_t(size);
        if (f.position_ > f.end_) f.end_ = f.position_;
        return size;
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

bool TiffPageFile::fail(const std::string& what) {
    if (!failed_) error_ = what;
    failed_ = true;
    return false;
}

bool TiffPageFile::openFile(const std::string& path, FileOpening opening) {
    path_ = path;
    int flags = O_RDWR | O_CLOEXEC;
    if (opening == FileOpening::CreateNew) flags |= O_CREAT | O_EXCL;
    if (opening == FileOpening::Replace) flags |= O_CREAT | O_TRUNC;
    fd_ = ::open(path.c_str(), flags, 0666);
    if (fd_ < 0) {
        refusedExisting_ = errno == EEXIST;
        return fail(std::strerror(errno));
    }
    created_ = opening != FileOpening::Append;
    struct stat status {};
    if (fstat(fd_, &status) != 0) return fail(std::strerror(errno));
    end_ = committed_ = uint64_t(status.st_size);
    return true;
}

bool TiffPageFile::formatMatches(const PageFormat& format) {
    TIFF* existing = TiffFileIo::open(*this, "r");
    if (existing == nullptr) return fail("it is no TIFF file (" + libraryMessage_ + ")");
    uint32_t width = 0, height = 0;
    uint16_t samples = 0, bits = 0;
    TIFFGetField(existing, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(existing, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(existing, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(existing, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFClose(existing);
    if (width == format.width && height == format.height && samples == format.samplesPerPixel &&
        bits == format.bitsPerSample)
        return true;
    char text[160];
    std::snprintf(text, sizeof text, "its pages are %u x %u x %u samples of %u bits, the frames %u x %u x %u of %u",
                  width, height, unsigned(samples), unsigned(bits), format.width, format.height,
                  format.samplesPerPixel, format.bitsPerSample);
    return fail(text);
}

bool TiffPageFile::begin(const PageFormat& format, bool bigTiff) {
    format_ = format;
    const bool append = !created_;
    if (append && !formatMatches(format)) return false;
    tiff_ = TiffFileIo::open(*this, append ? "a" : bigTiff ? "w8" : "w");
    if (tiff_ == nullptr) return fail(libraryMessage_);
    committed_ = end_;  // the header of a new file, or every page of an earlier save
    return !failed_;
}

bool TiffPageFile::writePage(const void* pixels, const std::string& description) {
    if (failed_ || tiff_ == nullptr) return false;
    const auto bytes = tmsize_t(format_.pageBytes());
    const uint16_t photometric = format_.samplesPerPixel == 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
    const bool fieldsSet =
        TIFFSetField(tiff_, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE) && TIFFSetField(tiff_, TIFFTAG_IMAGEWIDTH, format_.width) &&
        TIFFSetField(tiff_, TIFFTAG_IMAGELENGTH, format_.height) &&
        TIFFSetField(tiff_, TIFFTAG_BITSPERSAMPLE, uint16_t(format_.bitsPerSample)) &&
        TIFFSetField(tiff_, TIFFTAG_SAMPLESPERPIXEL, uint16_t(format_.samplesPerPixel)) &&
        TIFFSetField(tiff_, TIFFTAG_PHOTOMETRIC, photometric) &&
        TIFFSetField(tiff_, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
        TIFFSetField(tiff_, TIFFTAG_COMPRESSION, COMPRESSION_NONE) &&
        TIFFSetField(tiff_, TIFFTAG_ROWSPERSTRIP, format_.height) &&
        TIFFSetField(tiff_, TIFFTAG_IMAGEDESCRIPTION, description.c_str());
    if (!fieldsSet) return fail(libraryMessage_);
    if (TIFFWriteRawStrip(tiff_, 0, const_cast<void*>(pixels), bytes) != bytes || !TIFFWriteDirectory(tiff_))
        return fail(libraryMessage_);
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
    if (fd_ < 0) return;
    // Cuts what a failed page left behind the last complete one; were the
    // cut refused, those bytes stay unlinked and no reader reaches them.
    [[maybe_unused]] const int cut = failed_ ? ftruncate(fd_, off_t(committed_)) : 0;
    ::close(fd_);
    fd_ = -1;
    if (created_ && pages_ == 0) unlink(path_.c_str());
}
