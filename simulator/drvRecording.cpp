// Recording into camera memory on a recording thread, the segment table,
// the trigger position, the readout of recorded frames, and the reset and
// erase that act on the memory.
#include "SimState.h"

#include <algorithm>
#include <cstring>

namespace {

bool isSegmentedType(const SimCamera& camera) {
    const uint32_t cameraType = simCameraType(camera);
    return cameraType >= 18 && cameraType <= 20;
}

SimRecordingRun planRecording(const SimCamera& camera, uint32_t frames, uint32_t trigger, uint32_t segmentArgument,
                              uint32_t interval) {
    SimRecordingRun run;
    run.active = true;
    const uint32_t capacity = camera.config.memoryCapacity;
    run.framesToRecord = frames == 0 ? capacity : std::min(frames, capacity);
    run.eventInterval = std::max(interval, 1u);
    run.triggerFrame = std::min(trigger, run.framesToRecord - 1);
    run.segmented = isSegmentedType(camera);
    if (run.segmented) {
        uint64_t segments = std::min<uint64_t>({uint64_t(segmentArgument) + 1, run.framesToRecord,
                                                uint64_t(kSegmentTableEntries)});
        run.segmentCount = static_cast<uint32_t>(segments);
        run.segmentFrames = run.framesToRecord / run.segmentCount;
    }
    return run;
}

// The recording thread: a frame per tick until the recording ends or stops.
void recordingLoop(SimWorker& worker, DeviceHandle handle) {
    while (worker.nextTick()) {
        SimRecordEvent event;
        {
            std::lock_guard<std::mutex> lock(simState().mutex);
            if (worker.stopRequested() || !simRecordFrame(simState(), handle, event)) return;
        }
        if (event.report) event.callback(event.context, event.frameNumber, event.position);
    }
}

void endRecording(SimCamera& camera, SimDevice& device) {
    device.recording.active = false;
    camera.state.memory.recording = false;
}

// Ends the device's recording and disk read, forgets their callbacks and
// the trigger; the camera of the handle afterwards (looked up afresh), or
// nullptr once it is gone.
SimCamera* stopActivity(SimCallGuard& call, DeviceHandle handle) {
    SimWorkers workers = simStopDevice(call.state, handle);
    simJoinWorkers(call.lock, workers);
    SimCamera* camera = call.camera(handle);
    SimDevice* device = call.state.device(handle);
    if (camera == nullptr || device == nullptr) return nullptr;
    device->recordingCallback = nullptr;
    device->recordingContext = nullptr;
    device->diskReadCallback = nullptr;
    device->diskReadContext = nullptr;
    camera->state.memory.triggered = false;
    camera->state.memory.triggerPosition = 0;
    return camera;
}

}  // namespace

bool simRecordFrame(SimState& state, DeviceHandle handle, SimRecordEvent& event) {
    SimCamera* camera = state.cameraByHandle(handle);
    SimDevice* device = state.device(handle);
    if (camera == nullptr || device == nullptr || !device->recording.active) return false;
    SimRecordingRun& run = device->recording;
    SimMemory& memory = camera->state.memory;

    const uint32_t position = static_cast<uint32_t>(memory.frames.size());
    memory.frames.push_back(camera->state.framesDelivered++);
    if (run.segmented && position % run.segmentFrames == 0 && memory.segments.size() < run.segmentCount)
        memory.segments.push_back(position);
    if (position == run.triggerFrame) {
        memory.triggered = true;
        memory.triggerPosition = position;
    }
    const bool last = memory.frames.size() >= run.framesToRecord;
    if (last) endRecording(*camera, *device);

    event.callback = device->recordingCallback;
    event.context = device->recordingContext;
    event.frameNumber = memory.frames.back();
    event.position = position;
    event.report = event.callback != nullptr && (last || (position + 1) % run.eventInterval == 0);
    return true;
}

SimWorkers simStopDevice(SimState& state, DeviceHandle handle) {
    SimWorkers workers;
    SimDevice* device = state.device(handle);
    if (device == nullptr) return workers;
    for (std::shared_ptr<SimWorker>* worker : {&device->recording.recorder, &device->diskRead.reader}) {
        if (*worker == nullptr) continue;
        (*worker)->requestStop();
        workers.push_back(std::move(*worker));
    }
    device->recording.active = false;
    device->diskRead.active = false;
    if (SimCamera* camera = state.cameraByHandle(handle)) {
        camera->state.memory.recording = false;
        camera->state.memory.diskReading = false;
    }
    return workers;
}

SimWorkers simStopAllDevices(SimState& state) {
    SimWorkers workers;
    for (auto& entry : state.devices) {
        SimWorkers taken = simStopDevice(state, entry.first);
        workers.insert(workers.end(), taken.begin(), taken.end());
    }
    return workers;
}

void simJoinWorkers(std::unique_lock<std::mutex>& lock, SimWorkers& workers) {
    if (workers.empty()) return;
    lock.unlock();
    for (auto& worker : workers) worker->join();
    workers.clear();
    lock.lock();
}

uint32_t drvStartRecording(DeviceHandle handle, uint32_t first, uint32_t second, uint32_t segmentArgument,
                           uint32_t fourth, RecordingCallback callback, uint32_t one, void* context) {
    SimCallGuard call(SimOperation::drvStartRecording, {handle, first, second, segmentArgument, fourth,
                                            simAddress(reinterpret_cast<void*>(callback)), one, simAddress(context)});
    if (call.forced) return *call.forced;
    SimCamera* camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    if (camera->state.memory.recording || camera->state.memory.diskReading) return kSimErrorRecording;
    if (camera->config.memoryCapacity == 0) return kSimErrorNoFrame;

    // The thread of a recording that ended by itself may still be finishing
    // its last callback.
    SimWorkers finished;
    if (call.state.device(handle)->recording.recorder != nullptr)
        finished.push_back(std::move(call.state.device(handle)->recording.recorder));
    simJoinWorkers(call.lock, finished);
    camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    if (camera->state.memory.recording || camera->state.memory.diskReading) return kSimErrorRecording;

    SimDevice& device = *call.state.device(handle);
    SimMemory& memory = camera->state.memory;
    device.recordingCallback = callback;
    device.recordingContext = context;
    call.state.lateCallbacks[camera->config.cameraId] = SimLateCallback{callback, context};
    device.recording = planRecording(*camera, first, second, segmentArgument, fourth);
    memory.frames.clear();
    memory.segments.clear();
    memory.triggered = false;
    memory.recording = true;
    ++camera->counters.recordings;
    if (camera->config.recordingRate != 0) {
        device.recording.recorder = std::make_shared<SimWorker>(camera->config.recordingRate);
        device.recording.recorder->start([handle](SimWorker& worker) { recordingLoop(worker, handle); });
    }
    return 0;
}

// Ends the recording; after the call no recording callback runs. Writes the
// number of frames recorded into *word.
uint32_t drvStopRecording(DeviceHandle handle, uint32_t* word) {
    SimCallGuard call(SimOperation::drvStopRecording, {handle, simAddress(word)});
    if (call.forced) return *call.forced;
    if (call.camera(handle) == nullptr) return kSimErrorNoCamera;
    SimWorkers workers;
    if (call.state.device(handle)->recording.recorder != nullptr)
        workers.push_back(std::move(call.state.device(handle)->recording.recorder));
    for (auto& worker : workers) worker->requestStop();
    simJoinWorkers(call.lock, workers);

    SimCamera* camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    SimDevice& device = *call.state.device(handle);
    endRecording(*camera, device);
    device.recordingCallback = nullptr;
    device.recordingContext = nullptr;
    if (word != nullptr) *word = static_cast<uint32_t>(camera->state.memory.frames.size());
    return 0;
}

// Renders the frame at position + index into the destination: one frame of
// the camera's current size and format, readout kind, with the camera's
// frame faults. The destination has no size: the excess written after the
// frame stops at the widest format's frame.
uint32_t drvReadMemory(DeviceHandle handle, uint64_t position, uint32_t index, void* destination) {
    SimCallGuard call(SimOperation::drvReadMemory, {handle, position, index, simAddress(destination)});
    if (call.forced) return *call.forced;
    SimCamera* camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    const std::vector<uint32_t>& frames = camera->state.memory.frames;
    if (position >= frames.size() || index >= frames.size() - position) return kSimErrorNoFrame;
    if (destination == nullptr) return kSimErrorBadSettings;
    const uint32_t pixelFormat = simParameterValue(*camera, kSimParamPixelFormat);
    const uint32_t width = simParameterValue(*camera, kSimParamWidth);
    const uint32_t height = simParameterValue(*camera, kSimParamHeight);
    const size_t frameBytes =
        size_t(width) * height * simFrameFormat(pixelFormat, SimFrameKind::Readout).bytesPerPixel();
    const size_t widest = size_t(width) * height * kSimWidestReadoutPixelBytes;
    const size_t excess = std::min<size_t>(camera->overrides.frameExcess, widest - std::min(frameBytes, widest));
    const SimFrameFault fault = simTakeFrameFault(*camera, frameBytes + excess);
    const size_t written = simRenderFrame(pixelFormat, SimFrameKind::Readout, frames[position + index], width, height,
                                          destination, std::min(frameBytes, fault.writable));
    simWriteFrameExcess(static_cast<unsigned char*>(destination) + written, fault.writable - written);
    return fault.result;
}

// Copies the first positions of the segments begun, at most `entries`.
uint32_t drvReadSegmentTable(DeviceHandle handle, uint32_t zero, uint32_t entries, uint64_t* table) {
    SimCallGuard call(SimOperation::drvReadSegmentTable, {handle, zero, entries, simAddress(table)});
    if (call.forced) return *call.forced;
    SimCamera* camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    if (table == nullptr || zero != 0) return kSimErrorUnknownItem;
    const std::vector<uint64_t>& segments = camera->state.memory.segments;
    std::copy_n(segments.begin(), std::min<size_t>(entries, segments.size()), table);
    return 0;
}

// aux1: the trigger frame's number, aux2: frames in memory; first: the
// trigger position, second: frames in memory.
uint32_t drvReadTriggerPosition(DeviceHandle handle, uint32_t* aux1, uint32_t* aux2, uint32_t* first,
                                uint32_t* second) {
    SimCallGuard call(SimOperation::drvReadTriggerPosition,
                      {handle, simAddress(aux1), simAddress(aux2), simAddress(first), simAddress(second)});
    if (call.forced) return *call.forced;
    SimCamera* camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    const SimMemory& memory = camera->state.memory;
    if (!memory.triggered || memory.triggerPosition >= memory.frames.size()) return kSimErrorNoTrigger;
    const uint32_t recorded = static_cast<uint32_t>(memory.frames.size());
    *aux1 = memory.frames[memory.triggerPosition];
    *aux2 = recorded;
    *first = memory.triggerPosition;
    *second = recorded;
    return 0;
}

namespace {

// A camera reset: the recording and the disk read end, the trigger is
// forgotten; what was recorded stays unless the memory is erased too.
uint32_t resetCamera(SimOperation operation, DeviceHandle handle, bool erase) {
    SimCallGuard call(operation, {handle});
    if (call.forced) return *call.forced;
    if (call.camera(handle) == nullptr) return kSimErrorNoCamera;
    SimCamera* camera = stopActivity(call, handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    if (erase) {
        camera->state.memory.frames.clear();
        camera->state.memory.segments.clear();
        ++camera->counters.erases;
    } else {
        ++camera->counters.resets;
    }
    return 0;
}

}  // namespace

uint32_t drvReset(DeviceHandle handle) { return resetCamera(SimOperation::drvReset, handle, false); }

uint32_t drvEraseMemory(DeviceHandle handle) { return resetCamera(SimOperation::drvEraseMemory, handle, true); }
