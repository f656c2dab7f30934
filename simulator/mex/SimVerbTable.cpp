#include "SimVerbTable.h"

#include "SimVerbValues.h"

#include <climits>
#include <cmath>
#include <string>

namespace {

using Arguments = SimVerbArguments;
using Topic = SimVerbTopic;

constexpr uint32_t kDefaultWaitMilliseconds = 10000;
// A wait blocks the host's thread, which Ctrl-C cannot reach from here:
// no wait is longer than this.
constexpr uint32_t kLongestWaitMilliseconds = 60000;
// What the simulator's memory is bounded by: each frame in camera memory
// keeps a 4-byte frame number, each logged call some hundred bytes.
constexpr uint32_t kLargestMemoryFrames = 1u << 24;
constexpr uint32_t kFastestFramesPerSecond = 1000000;
constexpr uint32_t kLargestLogLimit = 65536;

const SimArgument kId{"id"};
const SimArgument kOperation{"operation", SimArgumentKind::Text};

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

mxArray* setTiming(const Arguments& args) {
    const std::optional<SimTimeSource> source = simTimeSourceNamed(args.text(1));
    if (!source) args.refuse(1, "is none, irig, gps, ptp or fixed");
    TimingRecord fixed = {};
    if (*source == SimTimeSource::Fixed) {
        if (!args.has(7)) args.refuse(7, "must be given for a fixed time");
        fixed.year = static_cast<int32_t>(args.word(2));
        fixed.dayOfYear = static_cast<int32_t>(args.word(3));
        fixed.hours = static_cast<int32_t>(args.word(4));
        fixed.minutes = static_cast<int32_t>(args.word(5));
        fixed.seconds = static_cast<int32_t>(args.word(6));
        fixed.microseconds = args.word(7);
    }
    args.requireCamera(0, simSetTimeSource(args.word(0), *source, fixed));
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
    // -1 keeps what the caller set; any other value is a word.
    if (args.has(3) && args.number(3) != -1) grab.byteSize = args.word(3);
    if (args.has(4) && args.number(4) != -1) grab.previewValue = args.word(4);
    return changeCamera(args, [&](SimCamera& camera) { camera.overrides.grab = grab; });
}

// In the order QuorvelSim('help') lists them; the help file lists them by
// topic, in this order within each.
const std::vector<SimVerb> kVerbs = {
    {"reset", {}, 0, Topic::Cameras, "default cameras, empty log, nothing forced",
     [](const Arguments&) -> mxArray* { simReset(); return nullptr; }},
    {"defaults", {}, 0, Topic::Cameras, "-> struct of the default cameras' values",
     [](const Arguments&) { return simDefaultsRecord(); }},
    {"addCamera", {kId, {"type"}, {"colour"}}, 2, Topic::Cameras,
     "a camera with the default items and parameters; colour 1: a colour camera",
     [](const Arguments& args) -> mxArray* {
         // OpenCamera takes 0 for the first camera found, and the module keeps
         // 2^32 - 1 (its -1) for a free slot: neither could be opened by its id.
         if (args.word(0) == 0 || args.word(0) == UINT32_MAX) args.refuse(0, "must be a whole number from 1 to 4294967294");
         if (simCamera(args.word(0)).has_value()) args.refuse(0, "is already a simulated camera's");
         simAddCamera(simMakeCamera(args.word(0), args.word(1), args.has(2) && args.number(2) != 0));
         return nullptr;
     }},
    {"removeCamera", {kId}, 1, Topic::Cameras, "-> true when the camera was there",
     [](const Arguments& args) { return simLogicalValue(simRemoveCamera(args.word(0))); }},
    {"setInfo", {kId, {"item"}, {"value"}}, 3, Topic::Cameras, "sets an information item of the camera",
     [](const Arguments& args) {
         const uint32_t item = args.word(1), value = args.word(2);
         return changeCamera(args, [&](SimCamera& camera) { camera.config.info[item] = value; });
     }},
    {"setParameter", {kId, {"number"}, {"value"}, {"limit0"}, {"limit1"}}, 3, Topic::Cameras,
     "sets a parameter's value, and its lower and upper limit when given", setParameter},
    {"setInUse", {kId, {"flag"}}, 2, Topic::Cameras, "sets the in-use word that the enumeration reports",
     [](const Arguments& args) {
         const uint32_t flag = args.word(1);
         return changeCamera(args, [&](SimCamera& camera) { camera.config.inUse = flag; });
     }},
    {"force", {kOperation, {"value"}, {"count"}}, 2, Topic::Failures,
     "the next count calls (default 1, -1: every one) of the operation ('*': of all) answer value",
     [](const Arguments& args) -> mxArray* {
         simForceResult(args.operation(0), args.word(1), args.count(2, 1));
         return nullptr;
     }},
    {"forceAfter", {kOperation, {"skip"}, {"value"}, {"count"}}, 3, Topic::Failures,
     "as force, after skip calls that pass",
     [](const Arguments& args) -> mxArray* {
         simForceResultAfter(args.operation(0), int(args.whole(1, INT_MAX, 0)), args.word(2), args.count(3, 1));
         return nullptr;
     }},
    {"forceWhere", {kOperation, {"argument"}, {"argumentValue"}, {"value"}, {"count"}}, 4, Topic::Failures,
     "as force, for the calls whose argument (from 0, as the log lists them) holds argumentValue",
     [](const Arguments& args) -> mxArray* {
         const double argumentValue = args.number(2);
         if (argumentValue < 0 || argumentValue != std::floor(argumentValue)) args.refuse(2, "must be a whole number from 0");
         simForceResultWhere(args.operation(0), args.word(1),
                             static_cast<uint64_t>(argumentValue), args.word(3), args.count(4, 1));
         return nullptr;
     }},
    {"clearForced", {}, 0, Topic::Failures, "forgets every forced result",
     [](const Arguments&) -> mxArray* { simClearForcedResults(); return nullptr; }},
    {"partialFrame", {kId, {"bytes"}, {"value"}}, 2, Topic::Failures,
     "the next drvGrabFrames, drvGrabPreview or drvReadMemory writes bytes bytes, then answers value (1)",
     [](const Arguments& args) {
         const uint32_t bytes = args.word(1), value = args.has(2) ? args.word(2) : 1;
         return changeCamera(args, [&](SimCamera& camera) {
             camera.overrides.partialFrameBytes = bytes;
             camera.overrides.partialFrameResult = value;
         });
     }},
    {"frameExcess", {kId, {"bytes"}}, 2, Topic::Failures,
     "every frame that many bytes longer than W x H (a readout frame at most W x H x 6 bytes)",
     [](const Arguments& args) {
         const uint32_t bytes = args.word(1);
         return changeCamera(args, [&](SimCamera& camera) { camera.overrides.frameExcess = bytes; });
     }},
    {"setGrab", {kId, {"status1"}, {"status2"}, {"byteSize"}, {"previewValue"}}, 3, Topic::Cameras,
     "what live grabs leave; byteSize, previewValue -1 (default): as the caller set it, the frame number",
     setGrab},
    {"log", {}, 0, Topic::CallLog, "-> the most recent calls (4096 unless set), oldest first",
     [](const Arguments&) { return simCallLogValue(); }},
    {"clearLog", {}, 0, Topic::CallLog, "empties the log and its counts",
     [](const Arguments&) -> mxArray* { simClearCallLog(); return nullptr; }},
    {"callCount", {kOperation}, 1, Topic::CallLog, "-> calls of the operation since the log was cleared, dropped ones too",
     [](const Arguments& args) { return simNumberValue(simCallCount(args.operation(0))); }},
    {"droppedCalls", {}, 0, Topic::CallLog, "-> calls too old for the log",
     [](const Arguments&) { return simNumberValue(double(simDroppedCallCount())); }},
    {"setLogLimit", {{"calls"}}, 1, Topic::CallLog, "keeps only that many (at most 65536) of the most recent calls",
     [](const Arguments& args) -> mxArray* {
         simSetCallLogLimit(args.whole(0, kLargestLogLimit));
         return nullptr;
     }},
    {"fireRecordEvent", {kId}, 1, Topic::Memory,
     "records a frame and calls the recording callback -> true when one ran",
     [](const Arguments& args) { return simLogicalValue(simFireRecordEvent(args.word(0))); }},
    {"fireLateRecordEvent", {kId}, 1, Topic::Memory,
     "calls the last recording callback, even after its stop or close -> true when one ran",
     [](const Arguments& args) { return simLogicalValue(simFireLateRecordEvent(args.word(0))); }},
    {"fireDiskProgress", {kId, {"current"}, {"final"}}, 3, Topic::Memory,
     "calls the disk-read callback -> true when one ran",
     [](const Arguments& args) {
         return simLogicalValue(simFireDiskProgress(args.word(0), args.word(1), args.word(2)));
     }},
    {"lock", {}, 0, Topic::Lifetime, "keeps the simulator (and its log) loaded through 'clear all'",
     [](const Arguments&) -> mxArray* { mexLock(); return nullptr; }},
    {"unlock", {}, 0, Topic::Lifetime, "lets 'clear all' unload it again",
     [](const Arguments&) -> mxArray* {
         if (mexIsLocked()) mexUnlock();
         return nullptr;
     }},
    {"cameras", {}, 0, Topic::Cameras, "-> row of camera ids",
     [](const Arguments&) { return simNumberRow(simCameraIds()); }},
    {"camera", {kId}, 1, Topic::Cameras, "-> struct of the camera's counters and state",
     [](const Arguments& args) { return simCameraRecord(cameraOf(args)); }},
    {"framesDelivered", {kId}, 1, Topic::Cameras, "-> live frames written so far (the number of the next)",
     [](const Arguments& args) { return simNumberValue(cameraOf(args).state.framesDelivered); }},
    {"loaded", {}, 0, Topic::Lifetime, "-> true while the driver is loaded",
     [](const Arguments&) { return simLogicalValue(simDriverLoaded()); }},
    {"setTiming",
     {kId, {"source", SimArgumentKind::Text}, {"year"}, {"day"}, {"hours"}, {"minutes"}, {"seconds"},
      {"microseconds"}},
     2, Topic::Cameras,
     "time source 'none', 'irig', 'gps', 'ptp' (system clock, UTC) or 'fixed' with the record's values",
     setTiming},
    {"setMemory", {kId, {"capacity"}, {"framesPerSecond"}, {"diskFramesPerSecond"}}, 3, Topic::Memory,
     "memory size (at most 2^24 frames) and rates (at most 10^6); 0 frames per second records only on fireRecordEvent",
     [](const Arguments& args) -> mxArray* {
         const uint32_t capacity = args.whole(1, kLargestMemoryFrames);
         const uint32_t rate = args.whole(2, kFastestFramesPerSecond);
         const uint32_t diskRate = args.whole(3, kFastestFramesPerSecond, kSimDiskReadRate);
         args.requireCamera(0, simSetMemory(args.word(0), capacity, rate, diskRate));
         return nullptr;
     }},
    {"memory", {kId}, 1, Topic::Memory,
     "-> struct of capacity, rates, frames (frame numbers by position), segments and state",
     [](const Arguments& args) { return simMemoryRecord(cameraOf(args)); }},
    {"waitRecording", {kId, {"milliseconds"}}, 1, Topic::Memory,
     "-> true once the camera's recording thread has ended (waits 10 s unless told, at most 60 s)",
     [](const Arguments& args) {
         const uint32_t milliseconds = args.whole(1, kLongestWaitMilliseconds, kDefaultWaitMilliseconds);
         // Only this thread could fire the frames of a recording without a thread of its own.
         if (simRecordingAwaitsEvents(args.word(0)))
             simVerbFail("QuorvelSim:waitCannotEnd",
                         "waitRecording: camera " + std::to_string(args.word(0)) +
                             " records only on fireRecordEvent (0 frames per second): nothing could end the wait.");
         return simLogicalValue(simWaitForRecording(args.word(0), int(milliseconds)));
     }},
    {"waitDiskRead", {kId, {"milliseconds"}}, 1, Topic::Memory,
     "-> true once the camera's disk-read thread has ended (waits 10 s unless told, at most 60 s)",
     [](const Arguments& args) {
         const uint32_t milliseconds = args.whole(1, kLongestWaitMilliseconds, kDefaultWaitMilliseconds);
         return simLogicalValue(simWaitForDiskRead(args.word(0), int(milliseconds)));
     }},
};

}  // namespace

const std::vector<SimVerb>& simVerbTable() { return kVerbs; }

const char* simVerbTopicHeading(SimVerbTopic topic) {
    switch (topic) {
    case Topic::Cameras: return "Cameras";
    case Topic::Memory: return "Memory";
    case Topic::Failures: return "Failures";
    case Topic::CallLog: return "Call log";
    case Topic::Lifetime: return "Lifetime";
    }
    return "";
}
