#include "SimRecorder.h"

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
    if (last) simEndRecording(*camera, *device);

    event.callback = device->recordingCallback;
    event.context = device->recordingContext;
    event.frameNumber = memory.frames.back();
    event.position = position;
    event.report = event.callback != nullptr && (last || (position + 1) % run.eventInterval == 0);
    return true;
}

void simEndRecording(SimCamera& camera, SimDevice& device) {
    device.recording.active = false;
    camera.state.memory.recording = false;
}
