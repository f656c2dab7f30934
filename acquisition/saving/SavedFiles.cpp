#include "SavedFiles.h"

#include <map>
#include <mutex>
#include <sys/stat.h>

namespace {

struct SavedFile {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;  // as the save's last call left it: pages another save added show
    uint64_t pages = 0;
    uint64_t plannedPages = 0;
};

std::mutex gLock;
std::map<int32_t, SavedFile> gSaved;

}  // namespace

void noteSavedFile(int32_t cameraId, const std::string& path, uint64_t pages, uint64_t plannedPages) {
    struct stat named {};
    std::lock_guard<std::mutex> guard(gLock);
    const auto found = gSaved.find(cameraId);
    if (found != gSaved.end() && found->second.path == path) pages += found->second.pages;
    if (pages < plannedPages && stat(path.c_str(), &named) == 0)
        gSaved[cameraId] = {path, named.st_dev, named.st_ino, named.st_size, pages, plannedPages};
    else
        gSaved.erase(cameraId);
}

void forgetSavedFile(int32_t cameraId) {
    std::lock_guard<std::mutex> guard(gLock);
    gSaved.erase(cameraId);
}

bool savedFileUntouched(int32_t cameraId, const std::string& path) {
    std::lock_guard<std::mutex> guard(gLock);
    const auto found = gSaved.find(cameraId);
    if (found == gSaved.end() || found->second.path != path) return true;
    struct stat named {};
    return stat(path.c_str(), &named) == 0 && named.st_dev == found->second.device &&
           named.st_ino == found->second.inode && named.st_size == found->second.size;
}
