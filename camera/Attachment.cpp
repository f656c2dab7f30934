#include "Attachment.h"

#include "CameraTable.h"
#include "Connections.h"
#include "driver/QuorvelDrv.h"

#include <cstring>

namespace {

// Enough for any network the module is used on; a list that fills it may
// have been cut short, and then proves nothing.
constexpr uint32_t kAttachmentEnumCapacity = 256;

bool enumerationShowsInUse(int32_t cameraId) {
    static CameraEnumRecord records[kAttachmentEnumCapacity];  // host's thread only
    std::memset(records, 0, sizeof records);
    uint32_t count = kAttachmentEnumCapacity;
    if (drvEnumCameras(records, &count, kOpenEnumFilter) != 0 || count >= kAttachmentEnumCapacity) return true;
    for (uint32_t i = 0; i < count; ++i)
        if (records[i].cameraId == static_cast<uint32_t>(cameraId)) return records[i].inUse != 0;
    return false;
}

}  // namespace

bool camCheckAttached(int32_t cameraId) {
    if (findOpenCamera(cameraId) == nullptr) return false;
    if (cameraId == kRawCameraId || enumerationShowsInUse(cameraId)) return true;
    ReleaseCameraSlot(cameraId);
    return false;
}
