// Recording into camera memory on a recording thread: its start and stop.
#include "SimCallGuard.h"
#include "SimRecorder.h"
#include "SimResults.h"

#include <algorithm>

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

}  // namespace

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
    simEndRecording(*camera, device);
    device.recordingCallback = nullptr;
    device.recordingContext = nullptr;
    if (word != nullptr) *word = static_cast<uint32_t>(camera->state.memory.frames.size());
    return 0;
}
