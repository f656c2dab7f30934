// Operations whose simulation comes with the commands that use them: until
// then each is logged, honours a forced result and succeeds without effect.
#include "SimState.h"

namespace {

uint32_t acceptOnOpenCamera(SimCallGuard& call, DeviceHandle handle) {
    if (call.forced) return *call.forced;
    return call.camera(handle) == nullptr ? kSimErrorNoCamera : 0;
}

}  // namespace

uint32_t drvStartRecording(DeviceHandle handle, uint32_t first, uint32_t second, uint32_t segmentArgument,
                           uint32_t fourth, RecordingCallback callback, uint32_t one, void* context) {
    SimCallGuard call("drvStartRecording", {handle, first, second, segmentArgument, fourth,
                                            simAddress(reinterpret_cast<void*>(callback)), one, simAddress(context)});
    uint32_t result = acceptOnOpenCamera(call, handle);
    if (result != 0 || call.forced) return result;
    SimDevice* device = call.state.device(handle);
    device->recordingCallback = callback;
    device->recordingContext = context;
    return 0;
}

uint32_t drvStopRecording(DeviceHandle handle, uint32_t* word) {
    SimCallGuard call("drvStopRecording", {handle, simAddress(word)});
    return acceptOnOpenCamera(call, handle);
}

uint32_t drvReadMemory(DeviceHandle handle, uint64_t position, uint32_t index, void* destination) {
    SimCallGuard call("drvReadMemory", {handle, position, index, simAddress(destination)});
    return acceptOnOpenCamera(call, handle);
}

uint32_t drvReadSegmentTable(DeviceHandle handle, uint32_t zero, uint32_t entries, uint64_t* table) {
    SimCallGuard call("drvReadSegmentTable", {handle, zero, entries, simAddress(table)});
    return acceptOnOpenCamera(call, handle);
}

uint32_t drvReadTriggerPosition(DeviceHandle handle, uint32_t* aux1, uint32_t* aux2, uint32_t* first,
                                uint32_t* second) {
    SimCallGuard call("drvReadTriggerPosition",
                      {handle, simAddress(aux1), simAddress(aux2), simAddress(first), simAddress(second)});
    return acceptOnOpenCamera(call, handle);
}

uint32_t drvDownloadRawFrame(DeviceHandle handle, const char* text, uint32_t first, uint32_t second, uint32_t third,
                             uint32_t fourth, uint32_t fifth) {
    SimCallGuard call("drvDownloadRawFrame", {handle, first, second, third, fourth, fifth}, text);
    return acceptOnOpenCamera(call, handle);
}

uint32_t drvReadFromDisk(DeviceHandle handle, uint32_t first, uint32_t second, uint32_t third, uint32_t fourth,
                         uint32_t fifth, uint32_t sixth, DiskReadCallback callback, void* context) {
    SimCallGuard call("drvReadFromDisk", {handle, first, second, third, fourth, fifth, sixth,
                                          simAddress(reinterpret_cast<void*>(callback)), simAddress(context)});
    uint32_t result = acceptOnOpenCamera(call, handle);
    if (result != 0 || call.forced) return result;
    SimDevice* device = call.state.device(handle);
    device->diskReadCallback = callback;
    device->diskReadContext = context;
    return 0;
}
