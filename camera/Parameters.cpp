#include "Parameters.h"

#include "CameraTable.h"
#include "CameraTypes.h"

#include <cstring>

namespace {

constexpr uint32_t kDriverValueRejected = 3;
constexpr uint32_t kWidthMargin = 20;

bool trimsReappliedWidth(uint32_t cameraType, uint32_t modelAttribute) {
    return (cameraType == 1 && modelAttribute < 2) || cameraType == 3;
}

// The value a 0 for the width stands for. The three reads are not examined
// for the command's code; the type and attribute keep 0 when their reads
// fail (no trim), and a width that could not be read is written as 0
// rather than trimmed into a wrapped-around value.
uint32_t reappliedWidth(CameraSlot& slot) {
    DeviceHandle handle = slot.deviceHandle.load();
    const uint32_t cameraType = readCameraType(handle);
    uint32_t modelAttribute = 0;
    uint32_t scratch = 0;
    drvGetCameraInfo(handle, kInfoModelAttribute, &modelAttribute, &scratch);
    uint32_t width = 0;
    if (drvGetParameter(handle, slot.settingsBlock, kParamFrameWidth, &width) != 0) return 0;
    return trimsReappliedWidth(cameraType, modelAttribute) ? width - kWidthMargin : width;
}

uint32_t reappliedHeight(CameraSlot& slot) {
    uint32_t height = 0;
    drvGetParameter(slot.deviceHandle.load(), slot.settingsBlock, kParamFrameHeight, &height);
    return height;
}

}  // namespace

ResultCode camGetCameraInfo(int32_t cameraId, uint32_t item, uint32_t* value) {
    CameraSlot* slot = findOpenCamera(cameraId);
    if (slot == nullptr) return ResultInfoReadFailed;
    uint32_t scratch = 0;
    return resultOf(drvGetCameraInfo(slot->deviceHandle.load(), item, value, &scratch), ResultInfoReadFailed);
}

ResultCode camGetParameter(int32_t cameraId, uint32_t parameter, uint32_t* value, uint32_t* limit0,
                           uint32_t* limit1) {
    CameraSlot* slot = findOpenCamera(cameraId);
    if (slot == nullptr) return ResultParameterReadFailed;
    DeviceHandle handle = slot->deviceHandle.load();
    uint32_t scratch0 = 0;
    uint32_t scratch1 = 0;
    if (drvGetParameter(handle, slot->settingsBlock, parameter, value) != 0) return ResultParameterReadFailed;
    if (drvGetParameterLimit(handle, slot->settingsBlock, parameter, 0, limit0 != nullptr ? limit0 : &scratch0) != 0)
        return ResultParameterReadFailed;
    return resultOf(
        drvGetParameterLimit(handle, slot->settingsBlock, parameter, 1, limit1 != nullptr ? limit1 : &scratch1),
        ResultParameterReadFailed);
}

ResultCode camSetParameter(int32_t cameraId, uint32_t parameter, uint32_t value) {
    CameraSlot* slot = findOpenCamera(cameraId);
    if (slot == nullptr) return ResultParameterWriteFailed;
    if (value == 0 && parameter == kParamFrameWidth) value = reappliedWidth(*slot);
    else if (value == 0 && parameter == kParamFrameHeight) value = reappliedHeight(*slot);

    uint32_t written = drvSetParameter(slot->deviceHandle.load(), slot->settingsBlock, parameter, value);
    if (written == kDriverValueRejected) return ResultValueRejected;
    return resultOf(written, ResultParameterWriteFailed);
}

ResultCode camSendCfg(int32_t cameraId) {
    CameraSlot* slot = findOpenCamera(cameraId);
    if (slot == nullptr) return ResultSettingsSendFailed;
    DeviceHandle handle = slot->deviceHandle.load();
    drvPrepareSettings(handle, slot->settingsBlock);
    return resultOf(drvSendSettings(handle, slot->settingsBlock), ResultSettingsSendFailed);
}

ResultCode camGetBrocParameters(int32_t cameraId, uint32_t index, uint32_t* word0, uint32_t* word1,
                                uint32_t* word2, uint32_t* word3) {
    if (index > kBrocLastIndex) return ResultParameterReadFailed;
    CameraSlot* slot = findOpenCamera(cameraId);
    if (slot == nullptr) return ResultParameterReadFailed;

    BrocParameterRecord table[kBrocTableRecords];
    std::memset(table, 0, sizeof table);
    uint32_t result = drvGetBrocParameters(slot->deviceHandle.load(), table, index + 1);

    uint32_t* const outputs[] = {word0, word1, word2, word3};
    for (int word = 0; word < 4; ++word)
        if (outputs[word] != nullptr) *outputs[word] = table[index].words[word];
    return resultOf(result, ResultParameterReadFailed);
}
