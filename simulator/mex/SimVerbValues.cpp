#include "SimVerbValues.h"

#include <iterator>

namespace {

const char* const kTimeSourceNames[] = {"none", "irig", "gps", "ptp", "fixed"};

void setField(mxArray* record, const char* name, mxArray* value) {
    mxAddField(record, name);
    mxSetField(record, 0, name, value);
}

mxArray* emptyRecord() { return mxCreateStructMatrix(1, 1, 0, nullptr); }

void setParameterField(mxArray* record, const char* name, const SimParameter& parameter) {
    setField(record, name, simNumberRow(std::vector<uint32_t>{parameter.value, parameter.limit0, parameter.limit1}));
}

}  // namespace

mxArray* simLogicalValue(bool value) { return mxCreateLogicalScalar(value); }
mxArray* simNumberValue(double value) { return mxCreateDoubleScalar(value); }

const char* simTimeSourceName(SimTimeSource source) { return kTimeSourceNames[static_cast<int>(source)]; }

std::optional<SimTimeSource> simTimeSourceNamed(const std::string& name) {
    for (size_t source = 0; source < std::size(kTimeSourceNames); ++source)
        if (name == kTimeSourceNames[source]) return static_cast<SimTimeSource>(source);
    return std::nullopt;
}

mxArray* simCallLogValue() {
    std::vector<SimCall> log = simCallLog();
    mxArray* cells = mxCreateCellMatrix(log.size(), 1);
    for (size_t i = 0; i < log.size(); ++i) mxSetCell(cells, i, mxCreateString(log[i].describe().c_str()));
    return cells;
}

mxArray* simCameraRecord(const SimCamera& camera) {
    const SimCounters& counters = camera.counters;
    mxArray* record = emptyRecord();
    setField(record, "open", simNumberValue(camera.state.open ? 1 : 0));
    setField(record, "resets", simNumberValue(counters.resets));
    setField(record, "erases", simNumberValue(counters.erases));
    setField(record, "settingsLoads", simNumberValue(counters.settingsLoads));
    setField(record, "settingsSent", simNumberValue(counters.settingsSent));
    setField(record, "captureStops", simNumberValue(counters.captureStops));
    setField(record, "settingsPrepared", simNumberValue(counters.settingsPrepared));
    setField(record, "triggers", simNumberValue(counters.triggers));
    setField(record, "calibrations", simNumberValue(counters.calibrations));
    setField(record, "calibrationValue", simNumberValue(camera.state.calibrationValue));
    setField(record, "traceSwitches", simNumberValue(counters.traceSwitches));
    setField(record, "traceText", mxCreateString(camera.state.traceText.c_str()));
    setField(record, "traceValue", simNumberValue(camera.state.traceValue));
    setField(record, "timeSource", mxCreateString(simTimeSourceName(camera.config.timeSource)));
    return record;
}

mxArray* simMemoryRecord(const SimCamera& camera) {
    const SimMemory& memory = camera.state.memory;
    mxArray* record = emptyRecord();
    setField(record, "capacity", simNumberValue(camera.config.memoryCapacity));
    setField(record, "framesPerSecond", simNumberValue(camera.config.recordingRate));
    setField(record, "diskFramesPerSecond", simNumberValue(camera.config.diskReadRate));
    setField(record, "frames", simNumberRow(memory.frames));
    setField(record, "segments", simNumberRow(memory.segments));
    setField(record, "recording", simLogicalValue(memory.recording));
    setField(record, "triggered", simLogicalValue(memory.triggered));
    setField(record, "triggerPosition", simNumberValue(memory.triggerPosition));
    setField(record, "diskFile", mxCreateString(memory.diskFile.c_str()));
    setField(record, "diskReading", simLogicalValue(memory.diskReading));
    setField(record, "recordings", simNumberValue(camera.counters.recordings));
    return record;
}

mxArray* simDefaultsRecord() {
    mxArray* record = emptyRecord();
    setField(record, "cameras", simNumberRow(std::vector<uint32_t>{kSimColourCameraId, kSimMonoCameraId,
                                                                   kSimMemoryCameraId, kSimSegmentedCameraId}));
    setField(record, "cameraTypes",
             simNumberRow(std::vector<uint32_t>{kSimColourCameraType, kSimMonoCameraType, kSimMemoryCameraType,
                                                kSimSegmentedCameraType}));
    setParameterField(record, "width", kSimDefaultWidth);
    setParameterField(record, "height", kSimDefaultHeight);
    setParameterField(record, "exposure", kSimDefaultExposure);
    setParameterField(record, "monoFormat", kSimDefaultMonoFormat);
    setParameterField(record, "colourFormat", kSimDefaultColourFormat);
    setParameterField(record, "extraFrames", kSimDefaultExtraFrames);
    setField(record, "memoryFrames", simNumberValue(kSimMemoryFrames));
    setField(record, "recordingRate", simNumberValue(kSimRecordingRate));
    setField(record, "diskReadRate", simNumberValue(kSimDiskReadRate));
    setField(record, "logLimit", simNumberValue(double(kSimCallLogLimit)));
    return record;
}
