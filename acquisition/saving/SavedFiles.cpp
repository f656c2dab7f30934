#include "SavedFiles.h"

#include <map>
#include <mutex>
#include <sys/stat.h>

namespace {

struct SavedFile {
    std::string path;
    FileStamp left;  // pages another save added, or a write in place, change it
    PageFormat format;
    uint64_t chainFrom = 0;
    uint64_t pages = 0;
    uint64_t plannedPages = 0;
};

std::mutex gLock;
std::map<int32_t, SavedFile> gSaved;

bool sameFormat(const PageFormat& a, const PageFormat& b) {
    return a.width == b.width && a.height == b.height && a.samplesPerPixel == b.samplesPerPixel &&
           a.bitsPerSample == b.bitsPerSample;
}

}  // namespace

void noteSavedFile(int32_t cameraId, const std::string& path, const FileStamp& left, const PageFormat& format,
                   uint64_t chainFrom, uint64_t pages, uint64_t plannedPages) {
    std::lock_guard<std::mutex> guard(gLock);
    const auto found = gSaved.find(cameraId);
    if (found != gSaved.end() && found->second.path == path) pages += found->second.pages;
    if (pages < plannedPages)
        gSaved[cameraId] = {path, left, format, chainFrom, pages, plannedPages};
    else
        gSaved.erase(cameraId);
}

void forgetSavedFile(int32_t cameraId) {
    std::lock_guard<std::mutex> guard(gLock);
    gSaved.erase(cameraId);
}

SavedFileState savedFileState(int32_t cameraId, const std::string& path, const PageFormat& format,
                              uint64_t& chainFrom) {
    std::lock_guard<std::mutex> guard(gLock);
    const auto found = gSaved.find(cameraId);
    if (found == gSaved.end() || found->second.path != path) return SavedFileState::NotSaving;
    struct stat named {};
    if (stat(path.c_str(), &named) != 0) return SavedFileState::Changed;
    const FileStamp now{named.st_dev, named.st_ino, named.st_size, int64_t(named.st_ctim.tv_sec),
                        int64_t(named.st_ctim.tv_nsec)};
    if (!(now == found->second.left)) return SavedFileState::Changed;
    if (!sameFormat(format, found->second.format)) return SavedFileState::NotSaving;
    chainFrom = found->second.chainFrom;
    return SavedFileState::AsLeft;
}
