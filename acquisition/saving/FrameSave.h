// Recorded frames saved from camera memory straight into a multi-page TIFF
// file, one page per frame, without an image array per frame: each frame
// is read on the calling thread, as every driver call is, into one of a
// few page buffers that a writer thread writes out meanwhile.
#ifndef QUORVEL_ACQUISITION_SAVING_FRAMESAVE_H
#define QUORVEL_ACQUISITION_SAVING_FRAMESAVE_H

#include "TiffPageFile.h"
#include "common/ResultCodes.h"

#include <cstdint>
#include <string>

enum class SaveAddressing {
    ByPosition,  // frames first, first + 1, ... as MemoryReadFrames reads them
    BySegment,   // segments first, first + 1, ... as MemoryReadSegments reads them
};

struct SaveRequest {
    int32_t cameraId = 0;
    std::string path;
    FileOpening opening = FileOpening::CreateNew;
    uint64_t plannedPages = 0;  // the pages the file holds once the whole save is done
    uint64_t first = 0;
    uint32_t count = 0;
    SaveAddressing addressing = SaveAddressing::ByPosition;
    const char* moduleVersion = "";
};

// What kept the file from taking every frame, besides a driver status.
// A host may take it as its number: new values go last.
enum class SaveFailure {
    None,
    FileExists,  // CreateNew found the file
    FileOpen,    // the file could not be opened or made, or is no regular file (nothing was read)
    FileBusy,    // another save is writing the file (nothing was read)
    FileFormat,  // appending to a file that is no TIFF or holds pages of another shape
    FileWrite,   // a write failed; the file holds the pages before it
};

struct SaveResult {
    ResultCode status = ResultOk;  // 0, or the status of the frame that ended the save
    uint32_t saved = 0;            // pages this save added to the file
    SaveFailure failure = SaveFailure::None;
    std::string reason;  // the system's or libtiff's words for the failure
};

// The classic TIFF's 32-bit offsets reach 4 GiB: a file planned to hold
// more (its pages, their directories and descriptions) is a BigTIFF.
bool needsBigTiff(uint64_t pages, size_t pageBytes);

// Opens the file before anything reaches the driver (an unwritable place,
// a name that is no regular file, a file another save holds or an
// existing file under CreateNew is refused first), then reads and writes
// the frames in order. The first frame that does not read ends the save
// with its status, the file holding the frames before it; so does a failed
// write. A replacement takes the name only once it holds a page: a save
// that ends without one leaves the file as it was. A frame too large to
// hold in memory answers 7 before any buffer is taken.
// No camera open under the id answers 13 without touching the file.
SaveResult camSaveFrames(const SaveRequest& request);

#endif
