#include "CameraTable.h"

#include <algorithm>
#include <iterator>

namespace {

CameraSlot table[kMaxCameras];
SlotReleaseHook releaseHook = nullptr;

void zeroSlot(CameraSlot& slot, int32_t key) {
    slot.key.store(key, std::memory_order_relaxed);
    slot.deviceHandle.store(0, std::memory_order_relaxed);
    slot.openSerial = 0;
    std::fill(std::begin(slot.settingsBlock), std::end(slot.settingsBlock), 0u);
}

int lowestSlotWithKey(int32_t key) {
    for (int index = 0; index < kMaxCameras; ++index)
        if (table[index].key.load(std::memory_order_relaxed) == key) return index;
    return kNoSlot;
}

}  // namespace

void ResetCameraTable() {
    for (int index = 0; index < kMaxCameras; ++index) zeroSlot(table[index], kFreeSlotKey);
}

int ClaimCameraSlot(int32_t key) {
    int index = lowestSlotWithKey(kFreeSlotKey);
    if (index != kNoSlot) table[index].key.store(key, std::memory_order_relaxed);
    return index;
}

int FindCameraSlot(int32_t key) { return lowestSlotWithKey(key); }

int ReleaseCameraSlot(int32_t key) {
    int index = lowestSlotWithKey(key);
    if (index == kNoSlot) return index;
    zeroSlot(table[index], kFreeSlotKey);  // from here no callback finds the camera
    if (releaseHook != nullptr) releaseHook(index);
    return index;
}

void setSlotReleaseHook(SlotReleaseHook hook) { releaseHook = hook; }

CameraSlot& cameraSlot(int index) { return table[index]; }

CameraSlot* findOpenCamera(int32_t cameraId) {
    int index = findOpenCameraIndex(cameraId);
    return index == kNoSlot ? nullptr : &table[index];
}

int findOpenCameraIndex(int32_t cameraId) {
    return cameraId == kFreeSlotKey ? kNoSlot : FindCameraSlot(cameraId);
}

void clearCameraTable() {
    for (CameraSlot& slot : table) zeroSlot(slot, 0);
    releaseHook = nullptr;
}
