#include "Readout.h"

#include "AcquisitionState.h"
#include "FrameLayout.h"
#include "camera/CameraTable.h"
#include "camera/CameraTypes.h"
#include "camera/Parameters.h"
#include "common/FrameBuffer.h"
#include "driver/QuorvelDrv.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

namespace {

constexpr uint32_t kParamReadoutCheck = 11;

}  // namespace

size_t readoutFrameBound(uint32_t width, uint32_t height) {
    const size_t pixels = size_t(width) * height;  // fits: both are 32-bit
    if (pixels > std::numeric_limits<size_t>::max() / kMaxReadoutBytesPerPixel) return 0;
    return pixels * kMaxReadoutBytesPerPixel;
}

ResultCode camReadMemory(int32_t cameraId, uint32_t positionLow, uint32_t positionHigh,
                         const ReadoutDestination& destination, uint32_t layoutCode, uint32_t segment,
                         ReadoutAddressing addressing) {
    const int index = findOpenCameraIndex(cameraId);
    if (index == kNoSlot) return ResultReadFailed;
    CameraSlot& slot = cameraSlot(index);
    const DeviceHandle handle = slot.deviceHandle.load();
    void* settings = slot.settingsBlock;
    uint32_t scratch = 0;

    const uint32_t cameraType = readCameraType(handle);
    uint32_t colour = 0;
    if (drvGetCameraInfo(handle, kInfoColour, &colour, &scratch) != 0) return ResultInfoReadFailed;
    if (colour == 0) {
        ResultCode refused = monoCameraLayoutCheck(cameraType, layoutCode);
        if (refused != ResultOk) return refused;
    }

    uint32_t value = 0;
    if (drvGetParameter(handle, settings, kParamReadoutCheck, &value) != 0) return ResultParameterReadFailed;
    if (drvGetParameter(handle, settings, kParamFrameHeight, &value) != 0) return ResultParameterReadFailed;
    uint32_t addressingItem = 0;
    const bool addressingRead = drvGetCameraInfo(handle, kInfoAddressing, &addressingItem, &scratch) == 0;

    uint64_t position = uint64_t(positionHigh) << 32 | positionLow;
    uint32_t driverIndex = segment;
    const bool bySegment = addressing == ReadoutAddressing::ByCameraType && isSegmentedType(cameraType) &&
                           addressingRead && addressingItem != kAddressingByPosition;
    if (bySegment) {
        if (segment >= kSegmentTableEntries) return ResultReadFailed;
        AcquisitionSlot& record = acquisitionSlot(index);
        std::lock_guard<std::mutex> tableLock(record.segmentTableLock);
        position = record.segmentTable[segment];
        driverIndex = 0;
    }

    if (!destination.shapeKnown) return ResultParameterReadFailed;
    FrameBufferBlock staging(destination.staging == nullptr ? allocateFrameBuffer(destination.frameBound) : nullptr);
    if (destination.staging == nullptr && staging == nullptr) return ResultReadFailed;
    // Only the bytes that reach the receiver need clearing: the staging
    // buffer is reused and may hold an earlier frame.
    auto* frame = destination.staging != nullptr ? destination.staging : static_cast<unsigned char*>(staging.get());
    const size_t delivered = std::min(destination.bytes, destination.frameBound);
    std::memset(frame, 0, delivered);
    const uint32_t read = drvReadMemory(handle, position, driverIndex, frame);
    destination.receiver.deliver(frame, delivered);
    if (read != 0) return ResultReadFailed;

    return resultOf(drvGetParameter(handle, settings, kParamFrameWidth, &value), ResultParameterReadFailed);
}

ResultCode camReadRecorded(int32_t cameraId, uint64_t number, BulkAddressing addressing,
                           const ReadoutDestination& destination, uint32_t layoutCode) {
    if (addressing == BulkAddressing::ByPosition)
        return camReadMemory(cameraId, uint32_t(number), uint32_t(number >> 32), destination, layoutCode, 0,
                             ReadoutAddressing::ByPosition);
    if (number > std::numeric_limits<uint32_t>::max()) return ResultReadFailed;  // no such segment number
    return camReadMemory(cameraId, 0, 0, destination, layoutCode, uint32_t(number));
}
