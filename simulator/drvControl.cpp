// Camera control: Broc parameter records and the one-shot services. Each
// service leaves a mark on the camera that the control API reports.
#include "SimCallGuard.h"
#include "SimResults.h"

uint32_t drvGetBrocParameters(DeviceHandle handle, BrocParameterRecord* table, uint32_t count) {
    SimCallGuard call(SimOperation::drvGetBrocParameters, {handle, simAddress(table), count});
    if (call.forced) return *call.forced;
    SimCamera* camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    if (table == nullptr || count == 0 || count > kBrocTableRecords) return kSimErrorUnknownItem;
    for (uint32_t index = 0; index < count; ++index)
        for (uint32_t word = 0; word < 4; ++word)
            table[index].words[word] = simBrocWord(camera->config.cameraId, index, word);
    return 0;
}

uint32_t drvTrigger(DeviceHandle handle) {
    SimCallGuard call(SimOperation::drvTrigger, {handle});
    if (call.forced) return *call.forced;
    SimCamera* camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    ++camera->counters.triggers;
    return 0;
}

uint32_t drvCalibrateNoiseReduction(DeviceHandle handle, uint32_t value, uint32_t zero1, uint32_t zero2) {
    SimCallGuard call(SimOperation::drvCalibrateNoiseReduction, {handle, value, zero1, zero2});
    if (call.forced) return *call.forced;
    SimCamera* camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    if (zero1 != 0 || zero2 != 0) return kSimErrorUnknownItem;
    ++camera->counters.calibrations;
    camera->state.calibrationValue = value;
    return 0;
}

uint32_t drvEnableTrace(DeviceHandle handle, const char* text, uint32_t value) {
    SimCallGuard call(SimOperation::drvEnableTrace, {handle, value}, text);
    if (call.forced) return *call.forced;
    SimCamera* camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    if (text == nullptr) return kSimErrorUnknownItem;
    ++camera->counters.traceSwitches;
    camera->state.traceText = text;
    camera->state.traceValue = value;
    return 0;
}
