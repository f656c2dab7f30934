// QuorvelSim: the simulator's control API for Octave and MATLAB scripts.
// One row per verb in kVerbs below: its arguments by name, [optional] ones
// in brackets, and what it does. QuorvelSim('help') lists the rows.
//
//   reset                      default cameras, empty log, nothing forced
//   addCamera, removeCamera    a camera with the default items and parameters;
//                              removeCamera -> true when it was there
//   setInfo, setParameter, setInUse    change a camera's configuration
//   defaults                   -> struct of the default cameras' values
//   force, forceAfter, forceWhere      fault schedules by operation name
//                              ('*': every operation); count -1: every call.
//                              forceWhere fails only the calls whose argument
//                              (from 0, as the log lists them) holds
//                              argumentValue, e.g. the reads of parameter 16:
//                              ('drvGetParameter', 2, 16, 1)
//   clearForced
//   partialFrame               the next frame-writing call (drvGrabFrames,
//                              drvGrabPreview, drvReadMemory) writes only
//                              bytes bytes, then answers value (default 1)
//   frameExcess                every frame that many bytes longer than W x H
//                              (a readout frame at most W x H x 6 bytes)
//   setGrab                    what live grabs leave; byteSize or previewValue
//                              -1 (the default): as the caller set it / the
//                              frame number
//   log, clearLog, callCount, droppedCalls, setLogLimit   the call log: the
//                              most recent calls (4096 unless set), oldest
//                              first; callCount counts dropped calls too
//   fireRecordEvent, fireLateRecordEvent, fireDiskProgress   call a
//                              registered callback -> true when one ran; the
//                              late one even after its stop or close
//   lock, unlock               keep the simulator (and its log) loaded
//                              through 'clear all'
//   cameras                    -> row of camera ids
//   camera                     -> struct of the camera's counters and state
//   framesDelivered            -> live frames written so far (numbers the next)
//   loaded                     -> true while the driver is loaded
//   setTiming                  source 'none', 'irig', 'gps', 'ptp' (system
//                              clock, UTC) or 'fixed' with the record's values
//   setMemory, memory          memory size and rates (frames per second 0:
//                              record only on fireRecordEvent); the memory
//                              -> struct of capacity, rates, frames (frame
//                              numbers by position), segments and state
//   waitRecording, waitDiskRead   -> true once the camera's thread has ended
#include "mex.h"
#include "QuorvelSim.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

enum class Kind { Number, Text };

struct Argument {
    const char* name;
    Kind kind = Kind::Number;
};

class Arguments;
using VerbHandler = mxArray* (*)(const Arguments&);

struct Verb {
    const char* name;
    std::vector<Argument> arguments;  // in order
    size_t required;                  // the first `required` must be given
    VerbHandler run;
};

// "id, capacity [, rate]"
std::string argumentList(const Verb& verb) {
    std::string list;
    for (size_t i = 0; i < verb.arguments.size(); ++i)
        list += std::string(i == 0 ? "" : i < verb.required ? ", " : " [, ") + verb.arguments[i].name;
    for (size_t i = std::max<size_t>(verb.required, 1); i < verb.arguments.size(); ++i) list += "]";
    return list;
}

std::string usageOf(const Verb& verb) {
    const std::string list = argumentList(verb);
    return std::string("QuorvelSim('") + verb.name + "'" + (list.empty() ? "" : ", " + list) + ")";
}

[[noreturn]] void fail(const std::string& message) {
    mexErrMsgTxt(message.c_str());
    std::abort();  // the host's error call does not return; its header does not say so
}

// The verb's arguments, counted from 0 after the verb; every error names
// the argument, by name and by its position in the call.
class Arguments {
public:
    Arguments(const Verb& verb, int nrhs, const mxArray** prhs)
        : verb_(verb), given_(size_t(nrhs) - 1), prhs_(prhs + 1) {
        if (given_ < verb.required || given_ > verb.arguments.size()) {
            const std::string list = argumentList(verb);
            fail(std::string(verb.name) + " takes " + (list.empty() ? "no arguments" : "(" + list + ")") + "; " +
                 std::to_string(given_) + " given.");
        }
        for (size_t i = 0; i < given_; ++i) {
            const bool number = mxIsNumeric(prhs_[i]) || mxIsLogical(prhs_[i]);
            if (verb.arguments[i].kind == Kind::Number && (!number || mxGetNumberOfElements(prhs_[i]) != 1))
                refuse(i, "must be a number");
            // Beyond this a conversion to an integer is undefined.
            if (verb.arguments[i].kind == Kind::Number && !(std::fabs(mxGetScalar(prhs_[i])) < 0x1p63))
                refuse(i, "must be a finite number below 2^63");
            if (verb.arguments[i].kind == Kind::Text && !mxIsChar(prhs_[i])) refuse(i, "must be a text");
        }
    }

    bool has(size_t index) const { return index < given_; }
    double number(size_t index) const { return mxGetScalar(prhs_[index]); }
    uint32_t word(size_t index) const { return static_cast<uint32_t>(static_cast<int64_t>(number(index))); }
    int count(size_t index, int absent) const {
        return has(index) ? static_cast<int>(std::clamp(number(index), double(INT_MIN), double(INT_MAX))) : absent;
    }
    std::string text(size_t index) const {
        char* characters = mxArrayToString(prhs_[index]);
        std::string copy = characters != nullptr ? characters : "";
        mxFree(characters);
        return copy;
    }

    [[noreturn]] void refuse(size_t index, const std::string& problem) const {
        fail(std::string(verb_.name) + ": " + verb_.arguments[index].name + " (argument " + std::to_string(index + 2) +
             ") " + problem + ".");
    }
    void requireCamera(size_t index, bool found) const {
        if (!found) refuse(index, "names no simulated camera: " + std::to_string(word(index)));
    }
    SimOperationKey operation(size_t index) const {
        const std::string name = text(index);
        try {
            return SimOperationKey(name);
        } catch (const std::invalid_argument&) {
            refuse(index, "names no driver operation: '" + name + "'");
        }
    }

private:
    const Verb& verb_;
    size_t given_;
    const mxArray** prhs_;
};

mxArray* logicalValue(bool value) { return mxCreateLogicalScalar(value); }
mxArray* number(double value) { return mxCreateDoubleScalar(value); }

template <typename Number>
mxArray* numberRow(const std::vector<Number>& numbers) {
    mxArray* row = mxCreateDoubleMatrix(1, numbers.size(), mxREAL);
    double* values = static_cast<double*>(mxGetData(row));
    for (size_t i = 0; i < numbers.size(); ++i) values[i] = static_cast<double>(numbers[i]);
    return row;
}

void setField(mxArray* record, const char* name, mxArray* value) {
    mxAddField(record, name);
    mxSetField(record, 0, name, value);
}

mxArray* emptyRecord() { return mxCreateStructMatrix(1, 1, 0, nullptr); }

const char* const kTimeSourceNames[] = {"none", "irig", "gps", "ptp", "fixed"};

// Applies change to the camera of argument 0, or refuses the id.
template <typename Change>
mxArray* changeCamera(const Arguments& args, Change change) {
    args.requireCamera(0, simConfigureCamera(args.word(0), change));
    return nullptr;
}

SimCamera cameraOf(const Arguments& args) {
    std::optional<SimCamera> camera = simCamera(args.word(0));
    args.requireCamera(0, camera.has_value());
    return *camera;
}

mxArray* callLog() {
    std::vector<SimCall> log = simCallLog();
    mxArray* cells = mxCreateCellMatrix(log.size(), 1);
    for (size_t i = 0; i < log.size(); ++i) mxSetCell(cells, i, mxCreateString(log[i].describe().c_str()));
    return cells;
}

mxArray* cameraRecord(const Arguments& args) {
    const SimCamera camera = cameraOf(args);
    const SimCounters& counters = camera.counters;
    mxArray* record = emptyRecord();
    setField(record, "open", number(camera.state.open ? 1 : 0));
    setField(record, "resets", number(counters.resets));
    setField(record, "erases", number(counters.erases));
    setField(record, "settingsLoads", number(counters.settingsLoads));
    setField(record, "settingsSent", number(counters.settingsSent));
    setField(record, "captureStops", number(counters.captureStops));
    setField(record, "settingsPrepared", number(counters.settingsPrepared));
    setField(record, "triggers", number(counters.triggers));
    setField(record, "calibrations", number(counters.calibrations));
    setField(record, "calibrationValue", number(camera.state.calibrationValue));
    setField(record, "traceSwitches", number(counters.traceSwitches));
    setField(record, "traceText", mxCreateString(camera.state.traceText.c_str()));
    setField(record, "traceValue", number(camera.state.traceValue));
    setField(record, "timeSource", mxCreateString(kTimeSourceNames[static_cast<int>(camera.config.timeSource)]));
    return record;
}

mxArray* memoryRecord(const Arguments& args) {
    const SimCamera camera = cameraOf(args);
    const SimMemory& memory = camera.state.memory;
    mxArray* record = emptyRecord();
    setField(record, "capacity", number(camera.config.memoryCapacity));
    setField(record, "framesPerSecond", number(camera.config.recordingRate));
    setField(record, "diskFramesPerSecond", number(camera.config.diskReadRate));
    setField(record, "frames", numberRow(memory.frames));
    setField(record, "segments", numberRow(memory.segments));
    setField(record, "recording", logicalValue(memory.recording));
    setField(record, "triggered", logicalValue(memory.triggered));
    setField(record, "triggerPosition", number(memory.triggerPosition));
    setField(record, "diskFile", mxCreateString(memory.diskFile.c_str()));
    setField(record, "diskReading", logicalValue(memory.diskReading));
    setField(record, "recordings", number(camera.counters.recordings));
    return record;
}

void setParameterField(mxArray* record, const char* name, const SimParameter& parameter) {
    setField(record, name, numberRow(std::vector<uint32_t>{parameter.value, parameter.limit0, parameter.limit1}));
}

// The default cameras' values, parameters as [value limit0 limit1].
mxArray* defaultsRecord(const Arguments&) {
    mxArray* record = emptyRecord();
    setField(record, "cameras", numberRow(std::vector<uint32_t>{kSimColourCameraId, kSimMonoCameraId,
                                                                kSimMemoryCameraId, kSimSegmentedCameraId}));
    setField(record, "cameraTypes", numberRow(std::vector<uint32_t>{kSimColourCameraType, kSimMonoCameraType,
                                                                    kSimMemoryCameraType, kSimSegmentedCameraType}));
    setParameterField(record, "width", kSimDefaultWidth);
    setParameterField(record, "height", kSimDefaultHeight);
    setParameterField(record, "exposure", kSimDefaultExposure);
    setParameterField(record, "monoFormat", kSimDefaultMonoFormat);
    setParameterField(record, "colourFormat", kSimDefaultColourFormat);
    setParameterField(record, "extraFrames", kSimDefaultExtraFrames);
    setField(record, "memoryFrames", number(kSimMemoryFrames));
    setField(record, "recordingRate", number(kSimRecordingRate));
    setField(record, "diskReadRate", number(kSimDiskReadRate));
    setField(record, "logLimit", number(double(kSimCallLogLimit)));
    return record;
}

mxArray* setTiming(const Arguments& args) {
    const std::string name = args.text(1);
    int source = 0;
    while (source < 5 && name != kTimeSourceNames[source]) ++source;
    if (source == 5) args.refuse(1, "is none, irig, gps, ptp or fixed");
    TimingRecord fixed = {};
    if (static_cast<SimTimeSource>(source) == SimTimeSource::Fixed) {
        if (!args.has(7)) args.refuse(7, "must be given for a fixed time");
        fixed.year = static_cast<int32_t>(args.word(2));
        fixed.dayOfYear = static_cast<int32_t>(args.word(3));
        fixed.hours = static_cast<int32_t>(args.word(4));
        fixed.minutes = static_cast<int32_t>(args.word(5));
        fixed.seconds = static_cast<int32_t>(args.word(6));
        fixed.microseconds = args.word(7);
    }
    args.requireCamera(0, simSetTimeSource(args.word(0), static_cast<SimTimeSource>(source), fixed));
    return nullptr;
}

mxArray* setParameter(const Arguments& args) {
    const uint32_t parameterNumber = args.word(1), value = args.word(2);
    if (args.has(3) && !args.has(4)) args.refuse(4, "must come with limit0");
    const bool limits = args.has(4);
    const uint32_t limit0 = limits ? args.word(3) : 0, limit1 = limits ? args.word(4) : 0;
    return changeCamera(args, [&](SimCamera& camera) {
        SimParameter& parameter = camera.config.parameters[parameterNumber];
        parameter.value = value;
        if (limits) parameter.limit0 = limit0, parameter.limit1 = limit1;
    });
}

mxArray* setGrab(const Arguments& args) {
    SimGrabBehaviour grab;
    grab.status1 = args.word(1);
    grab.status2 = args.word(2);
    if (args.has(3) && args.number(3) >= 0) grab.byteSize = args.word(3);
    if (args.has(4) && args.number(4) >= 0) grab.previewValue = args.word(4);
    return changeCamera(args, [&](SimCamera& camera) { camera.overrides.grab = grab; });
}

constexpr int kDefaultWaitMilliseconds = 10000;

const Argument kId{"id"};
const Argument kOperation{"operation", Kind::Text};

const std::vector<Verb> kVerbs = {
    {"reset", {}, 0, [](const Arguments&) -> mxArray* { simReset(); return nullptr; }},
    {"defaults", {}, 0, defaultsRecord},
    {"addCamera", {kId, {"type"}, {"colour"}}, 2,
     [](const Arguments& args) -> mxArray* {
         simAddCamera(simMakeCamera(args.word(0), args.word(1), args.has(2) && args.number(2) != 0));
         return nullptr;
     }},
    {"removeCamera", {kId}, 1, [](const Arguments& args) { return logicalValue(simRemoveCamera(args.word(0))); }},
    {"setInfo", {kId, {"item"}, {"value"}}, 3,
     [](const Arguments& args) {
         const uint32_t item = args.word(1), value = args.word(2);
         return changeCamera(args, [&](SimCamera& camera) { camera.config.info[item] = value; });
     }},
    {"setParameter", {kId, {"number"}, {"value"}, {"limit0"}, {"limit1"}}, 3, setParameter},
    {"setInUse", {kId, {"flag"}}, 2,
     [](const Arguments& args) {
         const uint32_t flag = args.word(1);
         return changeCamera(args, [&](SimCamera& camera) { camera.config.inUse = flag; });
     }},
    {"force", {kOperation, {"value"}, {"count"}}, 2,
     [](const Arguments& args) -> mxArray* {
         simForceResult(args.operation(0), args.word(1), args.count(2, 1));
         return nullptr;
     }},
    {"forceAfter", {kOperation, {"skip"}, {"value"}, {"count"}}, 3,
     [](const Arguments& args) -> mxArray* {
         simForceResultAfter(args.operation(0), args.count(1, 0), args.word(2), args.count(3, 1));
         return nullptr;
     }},
    {"forceWhere", {kOperation, {"argument"}, {"argumentValue"}, {"value"}, {"count"}}, 4,
     [](const Arguments& args) -> mxArray* {
         simForceResultWhere(args.operation(0), static_cast<size_t>(args.number(1)),
                             static_cast<uint64_t>(args.number(2)), args.word(3), args.count(4, 1));
         return nullptr;
     }},
    {"clearForced", {}, 0, [](const Arguments&) -> mxArray* { simClearForcedResults(); return nullptr; }},
    {"partialFrame", {kId, {"bytes"}, {"value"}}, 2,
     [](const Arguments& args) {
         const uint32_t bytes = args.word(1), value = args.has(2) ? args.word(2) : 1;
         return changeCamera(args, [&](SimCamera& camera) {
             camera.overrides.partialFrameBytes = bytes;
             camera.overrides.partialFrameResult = value;
         });
     }},
    {"frameExcess", {kId, {"bytes"}}, 2,
     [](const Arguments& args) {
         const uint32_t bytes = args.word(1);
         return changeCamera(args, [&](SimCamera& camera) { camera.overrides.frameExcess = bytes; });
     }},
    {"setGrab", {kId, {"status1"}, {"status2"}, {"byteSize"}, {"previewValue"}}, 3, setGrab},
    {"log", {}, 0, [](const Arguments&) { return callLog(); }},
    {"clearLog", {}, 0, [](const Arguments&) -> mxArray* { simClearCallLog(); return nullptr; }},
    {"callCount", {kOperation}, 1,
     [](const Arguments& args) { return number(simCallCount(args.operation(0))); }},
    {"droppedCalls", {}, 0, [](const Arguments&) { return number(double(simDroppedCallCount())); }},
    {"setLogLimit", {{"calls"}}, 1,
     [](const Arguments& args) -> mxArray* {
         simSetCallLogLimit(static_cast<size_t>(args.number(0)));
         return nullptr;
     }},
    {"fireRecordEvent", {kId}, 1, [](const Arguments& args) { return logicalValue(simFireRecordEvent(args.word(0))); }},
    {"fireLateRecordEvent", {kId}, 1,
     [](const Arguments& args) { return logicalValue(simFireLateRecordEvent(args.word(0))); }},
    {"fireDiskProgress", {kId, {"current"}, {"final"}}, 3,
     [](const Arguments& args) {
         return logicalValue(simFireDiskProgress(args.word(0), args.word(1), args.word(2)));
     }},
    {"lock", {}, 0, [](const Arguments&) -> mxArray* { mexLock(); return nullptr; }},
    {"unlock", {}, 0,
     [](const Arguments&) -> mxArray* {
         if (mexIsLocked()) mexUnlock();
         return nullptr;
     }},
    {"cameras", {}, 0, [](const Arguments&) { return numberRow(simCameraIds()); }},
    {"camera", {kId}, 1, cameraRecord},
    {"framesDelivered", {kId}, 1, [](const Arguments& args) { return number(cameraOf(args).state.framesDelivered); }},
    {"loaded", {}, 0, [](const Arguments&) { return logicalValue(simDriverLoaded()); }},
    {"setTiming",
     {kId, {"source", Kind::Text}, {"year"}, {"day"}, {"hours"}, {"minutes"}, {"seconds"}, {"microseconds"}},
     2, setTiming},
    {"setMemory", {kId, {"capacity"}, {"framesPerSecond"}, {"diskFramesPerSecond"}}, 3,
     [](const Arguments& args) -> mxArray* {
         const uint32_t diskRate = args.has(3) ? args.word(3) : kSimDiskReadRate;
         args.requireCamera(0, simSetMemory(args.word(0), args.word(1), args.word(2), diskRate));
         return nullptr;
     }},
    {"memory", {kId}, 1, memoryRecord},
    {"waitRecording", {kId, {"milliseconds"}}, 1,
     [](const Arguments& args) {
         return logicalValue(simWaitForRecording(args.word(0), args.count(1, kDefaultWaitMilliseconds)));
     }},
    {"waitDiskRead", {kId, {"milliseconds"}}, 1,
     [](const Arguments& args) {
         return logicalValue(simWaitForDiskRead(args.word(0), args.count(1, kDefaultWaitMilliseconds)));
     }},
};

mxArray* verbList() {
    mxArray* cells = mxCreateCellMatrix(kVerbs.size(), 1);
    for (size_t i = 0; i < kVerbs.size(); ++i) mxSetCell(cells, i, mxCreateString(usageOf(kVerbs[i]).c_str()));
    return cells;
}

}  // namespace

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    (void)nlhs;
    if (nrhs < 1 || !mxIsChar(prhs[0])) fail("the first argument names a verb; QuorvelSim('help') lists them.");
    char* characters = mxArrayToString(prhs[0]);
    const std::string name = characters != nullptr ? characters : "";
    mxFree(characters);
    if (name == "help") {
        plhs[0] = verbList();
        return;
    }
    for (const Verb& verb : kVerbs) {
        if (name != verb.name) continue;
        mxArray* result = verb.run(Arguments(verb, nrhs, prhs));
        if (result != nullptr) plhs[0] = result;
        return;
    }
    fail("no verb is named '" + name + "'; QuorvelSim('help') lists them.");
}
