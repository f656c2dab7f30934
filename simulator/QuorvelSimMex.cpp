// QuorvelSim: the simulator's control API for Octave and MATLAB scripts.
//
//   QuorvelSim('reset')                          default cameras, empty log, nothing forced
//   QuorvelSim('addCamera', id, type, colour)    a camera with the usual items and parameters
//   QuorvelSim('removeCamera', id)               -> true when it was there
//   QuorvelSim('setInfo', id, item, value)
//   QuorvelSim('setParameter', id, number, value [, limit0, limit1])
//   QuorvelSim('setInUse', id, flag)
//   QuorvelSim('force', operation, value [, count])   count -1: every call
//   QuorvelSim('clearForced')
//   QuorvelSim('forceAfter', operation, skip, value [, count])   operation '*': every operation
//   QuorvelSim('forceWhere', operation, argument, argumentValue, value [, count])
//                                                only calls whose argument (from 0, as the log
//                                                lists them) holds argumentValue; e.g. the reads
//                                                of parameter 16: ('drvGetParameter', 2, 16, 1)
//                                                A name that is no driver operation is an error.
//   QuorvelSim('partialFrame', id, bytes [, value])   the next frame-writing call (drvGrabFrames,
//                                                drvGrabPreview, drvReadMemory) writes only bytes
//                                                bytes, then answers value (default 1)
//   QuorvelSim('frameExcess', id, bytes)         every frame that many bytes longer than W x H
//   QuorvelSim('fireLateRecordEvent', id)        the camera's last recording callback, even after
//                                                its stop or close -> true when one ran
//   QuorvelSim('lock') / QuorvelSim('unlock')    keep the simulator (and its log) loaded through 'clear all'
//   QuorvelSim('log')                            -> cell column of 'drvX(arguments)' lines, the
//                                                most recent calls (4096 unless set), oldest first
//   QuorvelSim('clearLog')
//   QuorvelSim('callCount', operation)           -> calls since the log was cleared, dropped included
//   QuorvelSim('droppedCalls')                   -> calls too old for the log
//   QuorvelSim('setLogLimit', calls)             keep at most this many recent calls
//   QuorvelSim('fireRecordEvent', id)            -> true when a callback ran
//   QuorvelSim('fireDiskProgress', id, current, final)
//   QuorvelSim('cameras')                        -> row of camera ids
//   QuorvelSim('camera', id)                     -> struct of the driver's counters
//   QuorvelSim('loaded')                         -> true while the driver is loaded
//   QuorvelSim('setTiming', id, source)          source 'none', 'irig', 'gps' or 'ptp' (system clock, UTC)
//   QuorvelSim('setTiming', id, 'fixed', year, day, hours, minutes, seconds, microseconds)
//   The 'camera' struct also holds settingsPrepared, triggers, calibrations,
//   calibrationValue, traceSwitches, traceText, traceValue and timeSource.
//   QuorvelSim('setMemory', id, capacity, framesPerSecond [, diskFramesPerSecond])
//                                                frames per second 0: record only on fireRecordEvent
//   QuorvelSim('memory', id)                     -> struct: capacity, rates, frames (frame numbers by
//                                                position), segments, recording, triggered,
//                                                triggerPosition, diskFile, diskReading, recordings
//   QuorvelSim('waitRecording', id [, ms])       -> true once the camera records no more
//   QuorvelSim('waitDiskRead', id [, ms])        -> true once its disk read has ended
//   QuorvelSim('setGrab', id, status1, status2 [, byteSize [, previewValue]])
//                                                what live grabs leave; byteSize or previewValue
//                                                -1 (the default): as the caller set it / the frame number
//   QuorvelSim('framesDelivered', id)            -> live frames written so far (numbers the next)
#include "mex.h"
#include "QuorvelSim.h"

#include <cstring>
#include <string>

namespace {

struct SimArguments {
    int nrhs;
    const mxArray** prhs;

    std::string text(int index) const {
        if (index >= nrhs || !mxIsChar(prhs[index])) mexErrMsgTxt("QuorvelSim: expected a text argument.");
        char* characters = mxArrayToString(prhs[index]);
        std::string copy = characters != nullptr ? characters : "";
        mxFree(characters);
        return copy;
    }
    double number(int index) const {
        if (index >= nrhs || (!mxIsNumeric(prhs[index]) && !mxIsLogical(prhs[index])))
            mexErrMsgTxt("QuorvelSim: expected a numeric argument.");
        return mxGetScalar(prhs[index]);
    }
    uint32_t word(int index) const { return static_cast<uint32_t>(static_cast<int64_t>(number(index))); }
    bool has(int index) const { return index < nrhs; }
};

mxArray* logicalValue(bool value) { return mxCreateLogicalScalar(value); }

void requireCamera(bool found) {
    if (!found) mexErrMsgTxt("QuorvelSim: no simulated camera has this id.");
}

void requireOperation(bool known) {
    if (!known) mexErrMsgTxt("QuorvelSim: no driver operation has this name.");
}

int countArgument(const SimArguments& args, int index) {
    return args.has(index) ? static_cast<int>(args.number(index)) : 1;
}

mxArray* callLog() {
    std::vector<SimCall> log = simCallLog();
    mxArray* cells = mxCreateCellMatrix(log.size(), 1);
    for (size_t i = 0; i < log.size(); ++i) mxSetCell(cells, i, mxCreateString(log[i].describe().c_str()));
    return cells;
}

const char* const kTimeSourceNames[] = {"none", "irig", "gps", "ptp", "fixed"};

void setField(mxArray* record, const char* name, mxArray* value) {
    mxAddField(record, name);
    mxSetField(record, 0, name, value);
}

void addControlFields(mxArray* record, const SimCamera& camera) {
    setField(record, "settingsPrepared", mxCreateDoubleScalar(camera.settingsPrepared));
    setField(record, "triggers", mxCreateDoubleScalar(camera.triggers));
    setField(record, "calibrations", mxCreateDoubleScalar(camera.calibrations));
    setField(record, "calibrationValue", mxCreateDoubleScalar(camera.calibrationValue));
    setField(record, "traceSwitches", mxCreateDoubleScalar(camera.traceSwitches));
    setField(record, "traceText", mxCreateString(camera.traceText.c_str()));
    setField(record, "traceValue", mxCreateDoubleScalar(camera.traceValue));
    setField(record, "timeSource", mxCreateString(kTimeSourceNames[static_cast<int>(camera.timeSource)]));
}

void setTiming(const SimArguments& args) {
    const std::string name = args.text(2);
    int source = 0;
    while (source < 5 && name != kTimeSourceNames[source]) ++source;
    if (source == 5) mexErrMsgTxt("QuorvelSim: the time source is none, irig, gps, ptp or fixed.");
    TimingRecord fixed = {};
    if (static_cast<SimTimeSource>(source) == SimTimeSource::Fixed) {
        fixed.year = static_cast<int32_t>(args.word(3));
        fixed.dayOfYear = static_cast<int32_t>(args.word(4));
        fixed.hours = static_cast<int32_t>(args.word(5));
        fixed.minutes = static_cast<int32_t>(args.word(6));
        fixed.seconds = static_cast<int32_t>(args.word(7));
        fixed.microseconds = args.word(8);
    }
    requireCamera(simSetTimeSource(args.word(1), static_cast<SimTimeSource>(source), fixed));
}

template <typename Number>
mxArray* numberRow(const std::vector<Number>& numbers) {
    mxArray* row = mxCreateDoubleMatrix(1, numbers.size(), mxREAL);
    double* values = static_cast<double*>(mxGetData(row));
    for (size_t i = 0; i < numbers.size(); ++i) values[i] = static_cast<double>(numbers[i]);
    return row;
}

mxArray* memoryRecord(uint32_t cameraId) {
    std::optional<SimCamera> camera = simCamera(cameraId);
    requireCamera(camera.has_value());
    const SimMemory& memory = camera->memory;
    mxArray* record = mxCreateStructMatrix(1, 1, 0, nullptr);
    setField(record, "capacity", mxCreateDoubleScalar(memory.capacity));
    setField(record, "framesPerSecond", mxCreateDoubleScalar(memory.framesPerSecond));
    setField(record, "diskFramesPerSecond", mxCreateDoubleScalar(memory.diskFramesPerSecond));
    setField(record, "frames", numberRow(memory.frames));
    setField(record, "segments", numberRow(memory.segments));
    setField(record, "recording", logicalValue(memory.recording));
    setField(record, "triggered", logicalValue(memory.triggered));
    setField(record, "triggerPosition", mxCreateDoubleScalar(memory.triggerPosition));
    setField(record, "diskFile", mxCreateString(memory.diskFile.c_str()));
    setField(record, "diskReading", logicalValue(memory.diskReading));
    setField(record, "recordings", mxCreateDoubleScalar(memory.recordings));
    return record;
}

constexpr int kDefaultWaitMilliseconds = 10000;

mxArray* cameraCounters(uint32_t cameraId) {
    std::optional<SimCamera> camera = simCamera(cameraId);
    requireCamera(camera.has_value());
    const char* names[] = {"open", "resets", "erases", "settingsLoads", "settingsSent", "captureStops"};
    const double values[] = {camera->open ? 1.0 : 0.0,          static_cast<double>(camera->resets),
                             static_cast<double>(camera->erases), static_cast<double>(camera->settingsLoads),
                             static_cast<double>(camera->settingsSent), static_cast<double>(camera->captureStops)};
    mxArray* record = mxCreateStructMatrix(1, 1, 6, names);
    for (int i = 0; i < 6; ++i) mxSetField(record, 0, names[i], mxCreateDoubleScalar(values[i]));
    addControlFields(record, *camera);
    return record;
}

}  // namespace

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    (void)nlhs;
    SimArguments args{nrhs, prhs};
    const std::string command = args.text(0);
    mxArray* result = nullptr;

    if (command == "reset") {
        simReset();
    } else if (command == "addCamera") {
        simAddCamera(simMakeCamera(args.word(1), args.word(2), args.has(3) && args.number(3) != 0));
    } else if (command == "removeCamera") {
        result = logicalValue(simRemoveCamera(args.word(1)));
    } else if (command == "setInfo") {
        uint32_t item = args.word(2), value = args.word(3);
        requireCamera(simConfigureCamera(args.word(1), [&](SimCamera& c) { c.info[item] = value; }));
    } else if (command == "setParameter") {
        uint32_t number = args.word(2), value = args.word(3);
        bool limits = args.has(5);
        uint32_t limit0 = limits ? args.word(4) : 0, limit1 = limits ? args.word(5) : 0;
        requireCamera(simConfigureCamera(args.word(1), [&](SimCamera& c) {
            SimParameter& parameter = c.parameters[number];
            parameter.value = value;
            if (limits) parameter.limit0 = limit0, parameter.limit1 = limit1;
        }));
    } else if (command == "setInUse") {
        uint32_t flag = args.word(2);
        requireCamera(simConfigureCamera(args.word(1), [&](SimCamera& c) { c.inUse = flag; }));
    } else if (command == "force") {
        requireOperation(simForceResult(args.text(1), args.word(2), countArgument(args, 3)));
    } else if (command == "forceAfter") {
        requireOperation(
            simForceResultAfter(args.text(1), static_cast<int>(args.number(2)), args.word(3), countArgument(args, 4)));
    } else if (command == "forceWhere") {
        requireOperation(simForceResultWhere(args.text(1), static_cast<size_t>(args.number(2)),
                                             static_cast<uint64_t>(args.number(3)), args.word(4), countArgument(args, 5)));
    } else if (command == "partialFrame") {
        uint32_t bytes = args.word(2), value = args.has(3) ? args.word(3) : 1;
        requireCamera(simConfigureCamera(args.word(1), [&](SimCamera& c) {
            c.partialFrameBytes = bytes;
            c.partialFrameResult = value;
        }));
    } else if (command == "frameExcess") {
        uint32_t bytes = args.word(2);
        requireCamera(simConfigureCamera(args.word(1), [&](SimCamera& c) { c.frameExcess = bytes; }));
    } else if (command == "fireLateRecordEvent") {
        result = logicalValue(simFireLateRecordEvent(args.word(1)));
    } else if (command == "droppedCalls") {
        result = mxCreateDoubleScalar(static_cast<double>(simDroppedCallCount()));
    } else if (command == "setLogLimit") {
        simSetCallLogLimit(static_cast<size_t>(args.number(1)));
    } else if (command == "lock") {
        mexLock();
    } else if (command == "unlock") {
        if (mexIsLocked()) mexUnlock();
    } else if (command == "clearForced") {
        simClearForcedResults();
    } else if (command == "log") {
        result = callLog();
    } else if (command == "clearLog") {
        simClearCallLog();
    } else if (command == "callCount") {
        result = mxCreateDoubleScalar(simCallCount(args.text(1)));
    } else if (command == "fireRecordEvent") {
        result = logicalValue(simFireRecordEvent(args.word(1)));
    } else if (command == "fireDiskProgress") {
        result = logicalValue(simFireDiskProgress(args.word(1), args.word(2), args.word(3)));
    } else if (command == "cameras") {
        result = numberRow(simCameraIds());
    } else if (command == "camera") {
        result = cameraCounters(args.word(1));
    } else if (command == "setTiming") {
        setTiming(args);
    } else if (command == "loaded") {
        result = logicalValue(simDriverLoaded());
    } else if (command == "setMemory") {
        uint32_t diskRate = args.has(4) ? args.word(4) : kSimDiskReadRate;
        requireCamera(simSetMemory(args.word(1), args.word(2), args.word(3), diskRate));
    } else if (command == "memory") {
        result = memoryRecord(args.word(1));
    } else if (command == "waitRecording" || command == "waitDiskRead") {
        int timeout = args.has(2) ? static_cast<int>(args.number(2)) : kDefaultWaitMilliseconds;
        bool idle = command == "waitRecording" ? simWaitForRecording(args.word(1), timeout)
                                               : simWaitForDiskRead(args.word(1), timeout);
        result = logicalValue(idle);
    } else if (command == "setGrab") {
        SimGrabBehaviour grab;
        grab.status1 = args.word(2);
        grab.status2 = args.word(3);
        if (args.has(4) && args.number(4) >= 0) grab.byteSize = args.word(4);
        if (args.has(5) && args.number(5) >= 0) grab.previewValue = args.word(5);
        requireCamera(simConfigureCamera(args.word(1), [&](SimCamera& c) { c.grab = grab; }));
    } else if (command == "framesDelivered") {
        std::optional<SimCamera> camera = simCamera(args.word(1));
        requireCamera(camera.has_value());
        result = mxCreateDoubleScalar(camera->framesDelivered);
    } else {
        mexErrMsgTxt("QuorvelSim: unknown command.");
    }
    if (result != nullptr) plhs[0] = result;
}
