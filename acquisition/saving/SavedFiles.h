// The file each camera's save is writing over several calls (the first
// makes the file, the later ones append), so that a later call finds out
// when another save changed the file between its calls: each call holds
// the file's lock only while it runs. A later call that finds the file as
// the save left it need not read the pages back to append to them.
#ifndef QUORVEL_ACQUISITION_SAVING_SAVEDFILES_H
#define QUORVEL_ACQUISITION_SAVING_SAVEDFILES_H

#include "TiffPageFile.h"

#include <cstdint>
#include <string>

// Notes the file under the name as the camera's call that made it or added
// `pages` pages of `format` after the page at `chainFrom` left it; once
// the save holds `plannedPages` it is forgotten.
void noteSavedFile(int32_t cameraId, const std::string& path, const FileStamp& left, const PageFormat& format,
                   uint64_t chainFrom, uint64_t pages, uint64_t plannedPages);

void forgetSavedFile(int32_t cameraId);

enum class SavedFileState {
    NotSaving,  // the camera's save is writing no file under this name
    AsLeft,     // the file is as the save's last call left it
    Changed,    // the name gives another file, or the file changed since
};

// Where the camera's save of this name stands. A file as the save left it
// whose pages are of another format than `format` counts as NotSaving:
// its pages are read and checked like those of any other file. AsLeft
// sets `chainFrom` to the page the last call's pages follow.
SavedFileState savedFileState(int32_t cameraId, const std::string& path, const PageFormat& format,
                              uint64_t& chainFrom);

#endif
