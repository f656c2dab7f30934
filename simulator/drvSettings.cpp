// Settings records, camera information and parameters with their limits.
// Parameter calls must come with the record that a settings load filled
// for the same camera; any other record is refused. A parameter the camera
// does not have is refused on write as on read.
#include "SimCallGuard.h"
#include "SimResults.h"
#include "SimSettings.h"

namespace {

uint32_t loadSettings(SimOperation operation, DeviceHandle handle, void* settings, bool extended) {
    SimCallGuard call(operation, {handle, simAddress(settings)});
    if (call.forced) return *call.forced;
    SimCamera* camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    auto* words = static_cast<uint32_t*>(settings);
    if (words == nullptr || words[0] != kSettingsBlockBytes) return kSimErrorBadSettings;
    simFillSettings(words, *camera, extended);
    ++camera->counters.settingsLoads;
    return 0;
}

// The camera of the handle when the record is its own, else nullptr and
// the error in `error`.
SimCamera* cameraWithSettings(SimCallGuard& call, DeviceHandle handle, const void* settings, uint32_t& error) {
    SimCamera* camera = call.camera(handle);
    error = camera == nullptr ? kSimErrorNoCamera : kSimErrorBadSettings;
    if (camera == nullptr || !simSettingsMatch(settings, *camera)) return nullptr;
    return camera;
}

}  // namespace

uint32_t drvLoadSettings(DeviceHandle handle, void* settings) {
    return loadSettings(SimOperation::drvLoadSettings, handle, settings, false);
}

uint32_t drvLoadSettingsEx(DeviceHandle handle, void* settings) {
    return loadSettings(SimOperation::drvLoadSettingsEx, handle, settings, true);
}

uint32_t drvPrepareSettings(DeviceHandle handle, void* settings) {
    SimCallGuard call(SimOperation::drvPrepareSettings, {handle, simAddress(settings)});
    if (call.forced) return *call.forced;
    uint32_t error = 0;
    SimCamera* camera = cameraWithSettings(call, handle, settings, error);
    if (camera == nullptr) return error;
    ++camera->counters.settingsPrepared;
    return 0;
}

uint32_t drvSendSettings(DeviceHandle handle, void* settings) {
    SimCallGuard call(SimOperation::drvSendSettings, {handle, simAddress(settings)});
    if (call.forced) return *call.forced;
    uint32_t error = 0;
    SimCamera* camera = cameraWithSettings(call, handle, settings, error);
    if (camera == nullptr) return error;
    ++camera->counters.settingsSent;
    return 0;
}

uint32_t drvGetCameraInfo(DeviceHandle handle, uint32_t item, uint32_t* value, uint32_t* aux) {
    SimCallGuard call(SimOperation::drvGetCameraInfo, {handle, item, simAddress(value), simAddress(aux)});
    if (call.forced) return *call.forced;
    SimCamera* camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    auto found = camera->config.info.find(item);
    if (found == camera->config.info.end()) return kSimErrorUnknownItem;
    *value = found->second;
    *aux = item;
    return 0;
}

uint32_t drvGetParameter(DeviceHandle handle, void* settings, uint32_t parameter, uint32_t* value) {
    SimCallGuard call(SimOperation::drvGetParameter, {handle, simAddress(settings), parameter, simAddress(value)});
    if (call.forced) return *call.forced;
    uint32_t error = 0;
    SimCamera* camera = cameraWithSettings(call, handle, settings, error);
    if (camera == nullptr) return error;
    auto found = camera->config.parameters.find(parameter);
    if (found == camera->config.parameters.end()) return kSimErrorUnknownItem;
    *value = found->second.value;
    return 0;
}

uint32_t drvGetParameterLimit(DeviceHandle handle, void* settings, uint32_t parameter, uint32_t selector,
                              uint32_t* limit) {
    SimCallGuard call(SimOperation::drvGetParameterLimit,
                      {handle, simAddress(settings), parameter, selector, simAddress(limit)});
    if (call.forced) return *call.forced;
    uint32_t error = 0;
    SimCamera* camera = cameraWithSettings(call, handle, settings, error);
    if (camera == nullptr) return error;
    auto found = camera->config.parameters.find(parameter);
    if (found == camera->config.parameters.end() || selector > 1) return kSimErrorUnknownItem;
    *limit = selector == 0 ? found->second.limit0 : found->second.limit1;
    return 0;
}

uint32_t drvSetParameter(DeviceHandle handle, void* settings, uint32_t parameter, uint32_t value) {
    SimCallGuard call(SimOperation::drvSetParameter, {handle, simAddress(settings), parameter, value});
    if (call.forced) return *call.forced;
    uint32_t error = 0;
    SimCamera* camera = cameraWithSettings(call, handle, settings, error);
    if (camera == nullptr) return error;
    auto found = camera->config.parameters.find(parameter);
    if (found == camera->config.parameters.end()) return kSimErrorUnknownItem;
    SimParameter& stored = found->second;
    if (value < stored.limit0 || value > stored.limit1) return kSimErrorOutOfRange;
    // The simulated camera takes a setting at once; the record keeps it too.
    stored.value = value;
    simStoreSetting(settings, parameter, value);
    return 0;
}
