#include "Recording.h"

#include "AcquisitionState.h"
#include "camera/CameraTable.h"
#include "camera/CameraTypes.h"
#include "camera/Parameters.h"
#include "driver/QuorvelDrv.h"

#include <algorithm>

namespace {

// Clears the table and lets the driver fill it, with the table's lock held
// so that a readout never sees a half-written table.
void refreshSegmentTable(AcquisitionSlot& slot, DeviceHandle handle, uint64_t* table, uint32_t segmentArgument) {
    std::lock_guard<std::mutex> tableLock(slot.segmentTableLock);
    std::fill(table, table + kSegmentTableEntries, 0u);
    drvReadSegmentTable(handle, 0, segmentEntriesFor(segmentArgument), table);
}

}  // namespace

uint32_t segmentEntriesFor(uint32_t segmentArgument) {
    uint64_t entries = uint64_t(segmentArgument) + 1;
    return static_cast<uint32_t>(std::min<uint64_t>(entries, kSegmentTableEntries));
}

ResultCode camStartGrab(int32_t cameraId, uint32_t first, uint32_t second, uint32_t segmentArgument,
                        uint32_t fourth) {
    int index = findOpenCameraIndex(cameraId);
    if (index == kNoSlot) return ResultGrabFailed;
    DeviceHandle handle = cameraSlot(index).deviceHandle.load();
    AcquisitionSlot& slot = acquisitionSlot(index);

    slot.frameReadyCount.store(0);
    if (isMemoryResetType(readCameraType(handle)) && drvReset(handle) != 0) return ResultResetFailed;

    slot.segmentArgument.store(segmentArgument);
    // A start the driver refuses (a recording still runs) leaves the
    // running recording's callbacks counting, as they did before it.
    const uint64_t runningTicket = slot.recordingTicket.load();
    void* context = issueRecordingContext(index);
    uint32_t started = drvStartRecording(handle, first, second, segmentArgument, fourth, onRecordEvent,
                                         kRecordingCallbackMode, context);
    if (started != 0) slot.recordingTicket.store(runningTicket);
    return resultOf(started, ResultGrabFailed);
}

ResultCode camStopGrab(int32_t cameraId) {
    int index = findOpenCameraIndex(cameraId);
    if (index == kNoSlot) return ResultStopFailed;
    uint32_t word = 0;
    if (drvStopRecording(cameraSlot(index).deviceHandle.load(), &word) != 0) return ResultStopFailed;
    detachGrabContext(index);
    acquisitionSlot(index).frameReadyCount.store(0);
    return ResultOk;
}

ResultCode camGrabIsReady(int32_t cameraId, uint32_t* ready) {
    int index = findOpenCameraIndex(cameraId);
    *ready = index != kNoSlot && acquisitionSlot(index).frameReadyCount.load() != 0 ? 1 : 0;
    return ResultOk;
}

uint32_t camFrameReadyCount(int32_t cameraId) {
    int index = findOpenCameraIndex(cameraId);
    return index == kNoSlot ? 0 : acquisitionSlot(index).frameReadyCount.load();
}

ResultCode camReadTriggerPosition(int32_t cameraId, uint32_t* first, uint32_t* second) {
    CameraSlot* slot = findOpenCamera(cameraId);
    if (slot == nullptr) return ResultTriggerPositionFailed;
    uint32_t scratch1 = 0;
    uint32_t scratch2 = 0;
    uint32_t read = drvReadTriggerPosition(slot->deviceHandle.load(), &scratch1, &scratch2, first, second);
    return resultOf(read, ResultTriggerPositionFailed);
}

uint32_t onRecordEvent(void* context, uint32_t, uint32_t) {
    const int index = recordingSlotOf(context);
    if (index == kNoSlot) return 0;
    AcquisitionSlot& slot = acquisitionSlot(index);
    slot.frameReadyCount.fetch_add(1);

    DeviceHandle handle = cameraSlot(index).deviceHandle.load();
    if (!isSegmentedType(readCameraType(handle))) return 0;
    refreshSegmentTable(slot, handle, slot.segmentTable, slot.segmentArgument.load());
    return 0;
}
