// The module's only record of open cameras: kMaxCameras fixed slots, keyed
// by CameraId.
//
// Commands run on the host's thread and are the only writers of keys,
// handles and settings. Driver callbacks run on driver threads and look
// keys and handles up, so those two are atomic.
#ifndef QUORVEL_CAMERA_CAMERATABLE_H
#define QUORVEL_CAMERA_CAMERATABLE_H

#include "driver/QuorvelDrv.h"

#include <atomic>
#include <cstdint>

constexpr int kMaxCameras = 16;
constexpr int32_t kFreeSlotKey = -1;
constexpr int kNoSlot = -1;

struct CameraSlot {
    std::atomic<int32_t> key{0};
    std::atomic<DeviceHandle> deviceHandle{0};
    uint32_t settingsBlock[kSettingsBlockBytes / 4] = {};  // word 0 holds its size
    uint32_t openSerial = 0;  // the open that registered the camera; 0 for a free slot
};

// The four table operations scan slots 0 to 15 and act on the lowest match.
// ResetCameraTable runs once the driver has loaded, before any claim; the
// release hook stays as it is.
void ResetCameraTable();                 // every slot zeroed and free
int ClaimCameraSlot(int32_t key);        // index of the slot taken, or kNoSlot when full
int FindCameraSlot(int32_t key);         // index, or kNoSlot
int ReleaseCameraSlot(int32_t key);      // index of the slot freed, or kNoSlot; runs the release hook

// Run with the index of every slot released, once the slot is free: the
// layer above lets go of what it keeps for that slot when a driver
// callback can no longer find the camera to count for it.
using SlotReleaseHook = void (*)(int index);
void setSlotReleaseHook(SlotReleaseHook hook);

CameraSlot& cameraSlot(int index);

// The slot of an open camera, or nullptr: a key no slot holds, and -1 (the
// free marker), name no open camera.
CameraSlot* findOpenCamera(int32_t cameraId);
// The index of that slot, for what the layer above keeps per slot, or kNoSlot.
int findOpenCameraIndex(int32_t cameraId);

// Puts the table back as the module finds it at load, before the driver
// loads: every slot zeroed, key 0 included, so that no slot is free until
// ResetCameraTable runs; and no release hook. For the module's reset.
void clearCameraTable();

#endif
