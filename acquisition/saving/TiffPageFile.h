// A multi-page, uncompressed TIFF file written one page at a time through
// libtiff, that stays a valid file holding every completed page whatever
// fails. libtiff links a new page into the file by rewriting a pointer
// behind the end (the header's, or the last page's "next" field) before it
// writes the page's directory; those backward writes are held back here
// until the whole page is on disk. A page that fails half way is therefore
// never linked, and what it left behind the last complete page is cut off.
#ifndef QUORVEL_ACQUISITION_SAVING_TIFFPAGEFILE_H
#define QUORVEL_ACQUISITION_SAVING_TIFFPAGEFILE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

typedef struct tiff TIFF;

enum class FileOpening {
    CreateNew,  // an existing file is refused
    Replace,    // written beside the name, renamed over it once it holds a page
    Append,     // pages go after those of a file an earlier save made
};

// Why openFile refused, for the caller's error.
enum class OpenRefusal {
    None,
    Exists,  // CreateNew found the file
    Busy,    // another save holds the file
    Other,   // the file could not be made or opened, or is no regular file
};

// A page is written in strips of about this many bytes, whole rows each,
// so that a reader can take a page a piece at a time.
constexpr size_t kStripBytes = size_t(128) << 10;

// The pages of a file: all of one size and sample layout.
struct PageFormat {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t samplesPerPixel = 1;  // 1 (mono) or 3 (RGB, interleaved)
    uint32_t bitsPerSample = 8;    // 8 or 16, in the host's byte order

    size_t rowBytes() const { return size_t(width) * samplesPerPixel * (bitsPerSample / 8); }
    size_t pageBytes() const { return rowBytes() * height; }
    uint32_t rowsPerStrip() const {
        const size_t rows = rowBytes() == 0 ? 1 : kStripBytes / rowBytes();
        return rows == 0 ? 1 : rows < height ? uint32_t(rows) : height;
    }
    uint32_t stripCount() const { return height == 0 ? 0 : (height - 1) / rowsPerStrip() + 1; }
};

// The file as a save left it, read while its lock was still held: an equal
// stamp later means nothing has written to it, replaced it or changed its
// permissions since (every such change moves the change time).
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    int64_t changedSeconds = 0;
    int64_t changedNanoseconds = 0;

    bool operator==(const FileStamp& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               changedSeconds == other.changedSeconds && changedNanoseconds == other.changedNanoseconds;
    }
};

class TiffPageFile {
public:
    TiffPageFile() = default;
    TiffPageFile(const TiffPageFile&) = delete;
    TiffPageFile& operator=(const TiffPageFile&) = delete;
    ~TiffPageFile() { close(); }

    // Opens the file as `opening` says, without writing a byte yet, so that
    // an unwritable place, a name that is no regular file or a file another
    // save holds is refused before anything else is done. The file stays
    // locked against other saves until close(). False with error() set;
    // refusal() tells why.
    bool openFile(const std::string& path, FileOpening opening);
    // Makes the file a TIFF of these pages (BigTIFF when bigTiff) or, on
    // append, checks that the page chain ends and that every page has this
    // format and is stored as this file writes it. `pagesKnown` says the
    // file is as an earlier call of this save left it, its pages all of
    // this format: their directories are not read again, and the chain is
    // walked from `knownPage` (an earlier call's chainFrom()) on.
    bool begin(const PageFormat& format, bool bigTiff, bool pagesKnown = false, uint64_t knownPage = 0);
    // Writes one page of format.pageBytes() bytes, rows top to bottom,
    // with its ImageDescription. False once any write failed.
    bool writePage(unsigned char* pixels, const std::string& description);
    // Closes the file. A replacement that holds a page takes the name
    // unless another save is writing a file made under it meanwhile
    // (refusal() then tells Busy); one without, or a new file without a
    // page, is removed (no reader takes a TIFF without pages), leaving what
    // was there untouched.
    void close();

    OpenRefusal refusal() const { return refusal_; }
    bool failed() const { return failed_; }
    const std::string& error() const { return error_; }  // never empty once failed()
    uint64_t pagesWritten() const { return pages_; }
    // The file as close() left it under its name; a zero stamp when it holds no page.
    const FileStamp& leftAs() const { return leftAs_; }
    const std::string& path() const { return path_; }
    // The page the pages of this call were linked after (0: the header):
    // a later call that finds the file as this one left it walks the chain
    // from there, over this call's pages only.
    uint64_t chainFrom() const { return chainFrom_; }

private:
    friend struct TiffFileIo;  // libtiff's I/O procedures over this file

    bool fail(const std::string& what);
    bool refuse(OpenRefusal why, const std::string& what);
    bool lockTarget(int fd);
    bool openReplacement();
    bool mayTakeName();
    bool formatMatches(const PageFormat& format);
    bool pageFits(size_t descriptionBytes);
    bool commitPage();
    void showChainFrom(uint64_t offset, unsigned char* bytes, size_t count) const;

    std::string path_;
    std::string replacement_;  // the file written beside path_ on Replace
    int fd_ = -1;
    int lockFd_ = -1;  // the target's lock while a replacement is written
    TIFF* tiff_ = nullptr;
    bool created_ = false;
    bool writing_ = false;  // libtiff has had the file to write: from then on a failure may leave bytes
    bool bigTiff_ = false;
    OpenRefusal refusal_ = OpenRefusal::None;
    bool failed_ = false;
    std::string error_;
    std::string libraryMessage_;
    PageFormat format_;
    uint64_t pages_ = 0;
    FileStamp leftAs_;
    uint64_t position_ = 0;   // where libtiff reads or writes next
    uint64_t end_ = 0;        // the file's size as libtiff has made it
    uint64_t committed_ = 0;  // the end of the last complete page
    uint64_t chainFrom_ = 0;
    bool chainBig_ = false;
    std::vector<std::pair<uint64_t, std::vector<unsigned char>>> heldBack_;  // writes behind `committed_`
    // writePage's page, held until libtiff has made all of it.
    enum class Gathering { None, Strips, Directory };
    struct HeldPage {
        uint64_t offset = 0;
        const unsigned char* pixels = nullptr;  // the strips, in the caller's buffer
        size_t pixelBytes = 0;
        std::vector<unsigned char> directory;  // the bytes from the strips' end on

        bool reaches(uint64_t end) const { return pixelBytes > 0 && end > offset; }
    };
    Gathering gathering_ = Gathering::None;
    HeldPage heldPage_;
};

#endif
