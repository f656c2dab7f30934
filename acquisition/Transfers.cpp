#include "Transfers.h"

#include "AcquisitionState.h"
#include "camera/CameraTable.h"
#include "common/NonRegularFile.h"
#include "driver/QuorvelDrv.h"

ResultCode camDownloadRawFrame(int32_t cameraId, const char* text, const TransferNumbers& numbers) {
    CameraSlot* slot = findOpenCamera(cameraId);
    if (slot == nullptr || namesNonRegularFile(text)) return ResultDownloadFailed;
    const uint32_t* n = numbers.values;
    return resultOf(drvDownloadRawFrame(slot->deviceHandle.load(), text, n[0], n[1], n[2], n[3], n[4]),
                    ResultDownloadFailed);
}

ResultCode camReadFromDisk(int32_t cameraId, uint32_t first, const TransferNumbers& numbers) {
    int index = findOpenCameraIndex(cameraId);
    if (index == kNoSlot) return ResultReadFailed;
    AcquisitionSlot& slot = acquisitionSlot(index);
    slot.diskReadCount.store(0);
    slot.lastDiskReport.store(0);
    void* context = issueDiskReadContext(index);
    const uint32_t* n = numbers.values;
    const DeviceHandle handle = cameraSlot(index).deviceHandle.load();
    uint32_t read = drvReadFromDisk(handle, first, n[0], n[1], n[2], n[3], n[4], onDiskReadProgress, context);
    return resultOf(read, ResultReadFailed);
}

uint32_t onDiskReadProgress(void* context, uint32_t current, uint32_t final) {
    const int index = diskReadSlotOf(context);
    if (index == kNoSlot) return 0;
    AcquisitionSlot& slot = acquisitionSlot(index);
    slot.lastDiskReport.store(uint64_t{final} << 32 | current);
    if (current >= final) slot.diskReadCount.fetch_add(1);
    return 0;
}

ResultCode camDiskReadProgress(int32_t cameraId, DiskReadProgress& progress) {
    progress = {};
    int index = findOpenCameraIndex(cameraId);
    if (index == kNoSlot) return ResultReadFailed;
    const AcquisitionSlot& slot = acquisitionSlot(index);
    // The callback stores the report before it counts a finished read, so the
    // count is read first: a report older than the count it goes with cannot show.
    progress.finishedReports = slot.diskReadCount.load();
    const uint64_t report = slot.lastDiskReport.load();
    progress.current = static_cast<uint32_t>(report);
    progress.final = static_cast<uint32_t>(report >> 32);
    return ResultOk;
}
