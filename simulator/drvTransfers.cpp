// Raw-frame download into a recording file, and the read-back of such a
// file into camera memory on a disk thread that reports its progress.
#include "SimCallGuard.h"
#include "SimRecordingFile.h"
#include "SimResults.h"

#include <algorithm>

namespace {

struct SimDiskReport {
    DiskReadCallback callback = nullptr;
    void* context = nullptr;
    uint32_t current = 0;
    uint32_t final = 0;
    bool report = false;
    bool last = false;
};

// Places the next frame of the device's disk read; false when none runs.
bool placeFrame(SimState& state, DeviceHandle handle, SimDiskReport& report) {
    SimCamera* camera = state.cameraByHandle(handle);
    SimDevice* device = state.device(handle);
    if (camera == nullptr || device == nullptr || !device->diskRead.active) return false;
    SimDiskRead& read = device->diskRead;
    const uint32_t total = static_cast<uint32_t>(read.frames.size());
    if (read.placed < total) {
        std::vector<uint32_t>& memory = camera->state.memory.frames;
        const size_t position = size_t(read.position) + read.placed;
        if (position < memory.size())
            memory[position] = read.frames[read.placed];
        else
            memory.push_back(read.frames[read.placed]);
        ++read.placed;
    }
    report.callback = device->diskReadCallback;
    report.context = device->diskReadContext;
    report.current = read.placed;
    report.final = total;
    report.last = read.placed == total;
    report.report = report.callback != nullptr && (report.last || read.placed % read.reportInterval == 0);
    if (report.last) read.active = false;
    return true;
}

// After the last report has returned, the read is over for simWaitForDiskRead.
void finishDiskRead(DeviceHandle handle) {
    std::lock_guard<std::mutex> lock(simState().mutex);
    SimCamera* camera = simState().cameraByHandle(handle);
    if (camera != nullptr) camera->state.memory.diskReading = false;
}

void diskReadLoop(SimWorker& worker, DeviceHandle handle) {
    while (worker.nextTick()) {
        SimDiskReport report;
        {
            std::lock_guard<std::mutex> lock(simState().mutex);
            if (worker.stopRequested() || !placeFrame(simState(), handle, report)) break;
        }
        if (report.report) report.callback(report.context, report.current, report.final);
        if (report.last) break;
    }
    finishDiskRead(handle);
}

}  // namespace

// Writes `count` frames (0: one) from memory position high:low on into the
// file the text names, and makes it the camera's disk file.
uint32_t drvDownloadRawFrame(DeviceHandle handle, const char* text, uint32_t first, uint32_t second, uint32_t third,
                             uint32_t fourth, uint32_t fifth) {
    SimCallGuard call(SimOperation::drvDownloadRawFrame, {handle, first, second, third, fourth, fifth}, text);
    if (call.forced) return *call.forced;
    SimCamera* camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    if (text == nullptr || text[0] == '\0') return kSimErrorNoFile;
    const uint64_t position = uint64_t(second) << 32 | first;
    const uint64_t count = std::max(third, 1u);
    const std::vector<uint32_t>& frames = camera->state.memory.frames;
    if (position >= frames.size() || count > frames.size() - position) return kSimErrorNoFrame;

    SimRecordingFile file;
    file.width = simParameterValue(*camera, kSimParamWidth);
    file.height = simParameterValue(*camera, kSimParamHeight);
    file.pixelFormat = simParameterValue(*camera, kSimParamPixelFormat);
    file.frameNumbers.assign(frames.begin() + position, frames.begin() + position + count);
    if (!simWriteRecordingFile(text, file)) return kSimErrorNoFile;
    camera->state.memory.diskFile = text;
    return 0;
}

// Reads frames first.. (count 0: to the end) of the camera's disk file back
// into memory from `position` on, reporting every `interval` frames.
uint32_t drvReadFromDisk(DeviceHandle handle, uint32_t first, uint32_t count, uint32_t position, uint32_t interval,
                         uint32_t fifth, uint32_t sixth, DiskReadCallback callback, void* context) {
    SimCallGuard call(SimOperation::drvReadFromDisk, {handle, first, count, position, interval, fifth, sixth,
                                          simAddress(reinterpret_cast<void*>(callback)), simAddress(context)});
    if (call.forced) return *call.forced;
    SimCamera* camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    SimMemory& memory = camera->state.memory;
    if (memory.recording || memory.diskReading) return kSimErrorRecording;
    if (memory.diskFile.empty()) return kSimErrorNoFile;
    std::optional<SimRecordingFile> file = simReadRecordingFile(memory.diskFile);
    if (!file) return kSimErrorBadFile;
    const std::vector<uint32_t>& stored = file->frameNumbers;
    if (first > stored.size()) return kSimErrorNoFrame;
    const size_t available = stored.size() - first;
    const size_t frames = count == 0 ? available : count;
    if (frames > available || position > memory.frames.size() ||
        uint64_t(position) + frames > camera->config.memoryCapacity)
        return kSimErrorNoFrame;

    // The thread of a read that ended by itself may still be finishing.
    SimWorkers finished;
    if (call.state.device(handle)->diskRead.reader != nullptr)
        finished.push_back(std::move(call.state.device(handle)->diskRead.reader));
    simJoinWorkers(call.lock, finished);
    camera = call.camera(handle);
    if (camera == nullptr) return kSimErrorNoCamera;
    if (camera->state.memory.recording || camera->state.memory.diskReading) return kSimErrorRecording;

    SimDevice& device = *call.state.device(handle);
    device.diskReadCallback = callback;
    device.diskReadContext = context;
    SimDiskRead& read = device.diskRead;
    read.active = true;
    read.frames.assign(stored.begin() + first, stored.begin() + first + frames);
    read.placed = 0;
    read.position = position;
    read.reportInterval = std::max(interval, 1u);
    camera->state.memory.diskReading = true;
    read.reader = std::make_shared<SimWorker>(camera->config.diskReadRate);
    read.reader->start([handle](SimWorker& worker) { diskReadLoop(worker, handle); });
    return 0;
}
