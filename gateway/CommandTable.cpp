#include "CommandTable.h"

#include "Handlers.h"
#include "acquisition/Readout.h"

#include <cstring>

#define INPUTS(name) "Invalid number of inputs to " name "\n"

namespace {

// Output 1 of the image commands, by what can stop them.
constexpr uint32_t kLiveImageAnswers = answerSet(ResultOk, ResultFormatNotMono, ResultParameterReadFailed,
                                                 ResultInfoReadFailed, ResultOutOfMemory, ResultGrabFailed,
                                                 ResultFormatNotSupported);
constexpr uint32_t kReadoutAnswers = answerSet(ResultOk, ResultFormatNotMono, ResultParameterReadFailed,
                                               ResultInfoReadFailed, ResultReadFailed, ResultFormatNotSupported);
constexpr uint32_t kStackAnswers = kReadoutAnswers | answerSet(ResultOutOfMemory);

// Output 1 of a command whose only failure is the one it answers for a
// camera that is not open.
constexpr uint32_t answersOkOr(ResultCode failure) { return answerSet(ResultOk, failure); }

}  // namespace

// Compared in this order; the first equal keyword wins. A row too many or
// too few does not compile.
constexpr CommandRow kCommandTable[] = {
    {"InitPCIeMemory", INPUTS("InitPCIeMemory"), "S", "value", "W", "InitPCIeMemory needs 1 output\n", kNoCameraArgument,
     kFlagAnswers, initPCIeMemoryCommand},
    {"SetNetAdapterIPAddress", INPUTS("SetNetAdapterIPAddress"), "T", "address", "W", "SetNetAdapterIPAddress needs 1 outputs\n",
     kNoCameraArgument, kFlagAnswers, setNetAdapterIPAddressCommand},
    {"OpenCamera", INPUTS("ZelOpenCamera"), "S", "cameraId", "WW", "ZelOpenCamera needs 2 outputs\n", kNoCameraArgument,
     answerSet(ResultOk, ResultOpenFailed, ResultSettingsLoadFailed), openCameraCommand},
    {"CloseCamera", INPUTS("ZelCloseCamera"), "S", "cameraId", "W", "ZelCloseCamera needs 1 output\n",
     namesOpenCamera(ResultCloseFailed), answersOkOr(ResultCloseFailed), closeCameraCommand},
    {"EnumCameras", INPUTS("ZelEnumCameras"), "S", "filter", "WWL", "ZelEnumCameras needs 3 outputs\n", kNoCameraArgument,
     kFlagAnswers, enumCamerasCommand},
    {"GetCameraInfo", INPUTS("ZelGetCameraInfo"), "SS", "cameraId, item", "WW", "ZelGetCameraInfo needs 2 outputs\n",
     namesOpenCamera(ResultInfoReadFailed), answersOkOr(ResultInfoReadFailed), getCameraInfoCommand},
    {"GetParameter", INPUTS("ZelGetParameter"), "SS", "cameraId, parameter", "WWWW", "ZelGetParameter needs 4 outputs\n",
     namesOpenCamera(ResultParameterReadFailed), answersOkOr(ResultParameterReadFailed), getParameterCommand},
    {"SetParameter", INPUTS("ZelSetParameter"), "SSS", "cameraId, parameter, value", "W", "ZelSetParameter needs 1 outputs\n",
     namesOpenCamera(ResultParameterWriteFailed), answerSet(ResultOk, ResultValueRejected, ResultParameterWriteFailed),
     setParameterCommand},
    {"Abort", INPUTS("ZelAbort"), "S", "value", "W", "ZelAbort needs 1 output\n", kNoCameraArgument, answerSet(ResultOk),
     abortCommand},
    {"Version", INPUTS("Version"), "", "", "T", "Version needs 1 output\n", kNoCameraArgument, 0, versionCommand},
    {"GrabIsReady", INPUTS("GrabIsReady"), "S", "cameraId", "WW", "GrabIsReady needs 2 outputs\n", namesOpenCamera(ResultOk),
     answerSet(ResultOk), grabIsReadyCommand},
    {"GetBrocParameters", INPUTS("GetBrocParameters"), "SS", "cameraId, recordIndex", "WWWWW", "GetBrocParameters needs 5 outputs\n",
     namesOpenCamera(ResultParameterReadFailed), answersOkOr(ResultParameterReadFailed), getBrocParametersCommand},
    {"SynchGrab", INPUTS("ZelSynchGrab"), "SS", "cameraId, grabArgument", "WGG", "ZelSynchGrab needs 3 outputs\n",
     namesOpenCamera(ResultInfoReadFailed), kLiveImageAnswers, synchGrabCommand},
    {"MemoryPreview", INPUTS("MemoryPreview"), "S", "cameraId", "WGW", "MemoryPreview needs 3 outputs\n",
     namesOpenCamera(ResultInfoReadFailed), kLiveImageAnswers, memoryPreviewCommand},
    {"MemoryStartGrab", INPUTS("StartGrabEx"), "SSSSS", "cameraId, frames, trigger, segmentArgument, interval", "W", "StartGrabEx needs 1 outputs\n",
     namesOpenCamera(ResultGrabFailed), answerSet(ResultOk, ResultGrabFailed, ResultResetFailed),
     memoryStartGrabCommand},
    {"MemoryStopGrab", INPUTS("EndGrabEx"), "S", "cameraId", "W", "EndGrabEx needs 1 output\n", namesOpenCamera(ResultStopFailed),
     answersOkOr(ResultStopFailed), memoryStopGrabCommand},
    {"MemoryReadData", INPUTS("ReadMemory"), "SSSS", "cameraId, positionLow, positionHigh, segment", "WI", "ZelStartAcquire needs 2 outputs\n",
     namesOpenCamera(ResultReadFailed), kStackAnswers, memoryReadDataCommand},
    {"MemoryReadTriggerPosition", INPUTS("RuxMemoryReadTriggerPosition"), "S", "cameraId", "WWW",
     "MemoryReadTriggerPosition needs 3 outputs\n", namesOpenCamera(ResultTriggerPositionFailed),
     answersOkOr(ResultTriggerPositionFailed), memoryReadTriggerPositionCommand},
    {"CalibrateNoiseReduction", INPUTS("CalibrateNoiseReduction"), "SS", "cameraId, value", "W",
     "CalibrateNoiseReduction needs 1 output\n", namesOpenCamera(ResultCalibrationFailed),
     answersOkOr(ResultCalibrationFailed), calibrateNoiseReductionCommand},
    {"SendCfg", INPUTS("SendCfg"), "S", "cameraId", "W", "SendCfg needs 1 output\n", namesOpenCamera(ResultSettingsSendFailed),
     answersOkOr(ResultSettingsSendFailed), sendCfgCommand},
    {"Trigger", INPUTS("Trigger"), "S", "cameraId", "W", "Trigger needs 1 output\n", namesOpenCamera(ResultTriggerFailed),
     answersOkOr(ResultTriggerFailed), triggerCommand},
    // The widest text a timing record can give (every field at its widest
    // 32-bit value) takes 77 bytes with its zero; 64 KiB leaves room for any
    // text many times over, while a longer column is refused before
    // anything is allocated.
    {"ReadGPSTiming", INPUTS("ReadGPSTiming"), "SS", "cameraId, length", "WC", "ReadGPSTiming needs 2 outputs\n",
     namesOpenCamera(ResultTimingReadFailed), answersOkOr(ResultTimingReadFailed), readGPSTimingCommand,
     lengthUpTo(3, 65536)},
    {"Reset", INPUTS("Reset"), "S", "cameraId", "W", "Reset needs 1 output\n", namesOpenCamera(ResultResetFailed),
     answersOkOr(ResultResetFailed), resetCommand},
    {"EnableDiagnosticTrace", INPUTS("EnableDiagnosticTrace"), "STS", "cameraId, traceText, traceValue", "W", "EnableDiagnosticTrace needs 1 outputs\n",
     namesOpenCamera(ResultTraceFailed), answersOkOr(ResultTraceFailed), enableDiagnosticTraceCommand},
    {"EraseMemory", INPUTS("MemoryErase"), "S", "cameraId", "W", "MemoryErase needs 1 output\n", namesOpenCamera(ResultEraseFailed),
     answersOkOr(ResultEraseFailed), eraseMemoryCommand},
    {"MemoryDownloadRawFrame", INPUTS("MemoryDownloadRawFrame"), "STSSSSS", "cameraId, fileName, positionLow, positionHigh, frameCount, driverValue1, driverValue2", "W",
     "MemoryDownloadRawFrame needs 1 outputs\n", namesOpenCamera(ResultDownloadFailed),
     answersOkOr(ResultDownloadFailed), memoryDownloadRawFrameCommand},
    {"PreLoadDriver", INPUTS("PreLoadDriver"), "SSS", "first, second, third", "W", "PreLoadDriver needs 1 outputs\n", kNoCameraArgument,
     answerSet(ResultOk, ResultValueRejected), preLoadDriverCommand},
    {"OpenRawCamera", INPUTS("ZelOpenRawCamera"), "T", "source", "WW", "ZelOpenRawCamera needs 2 outputs\n", kNoCameraArgument,
     answerSet(ResultOk, ResultParameterReadFailed, ResultSettingsSendFailed, ResultRawOpenFailed),
     openRawCameraCommand},
    {"MemoryReadFromDisk", INPUTS("MemoryReadFromDisk"), "SSSSSSS", "cameraId, firstFrame, frameCount, position, interval, driverValue1, driverValue2", "W", "MemoryReadFromDisk needs 1 outputs\n",
     namesOpenCamera(ResultReadFailed), answersOkOr(ResultReadFailed), memoryReadFromDiskCommand},
    {"MemoryReadFrames", INPUTS("MemoryReadFrames"), "SPS", "cameraId, firstPosition, count", "WKW", "MemoryReadFrames needs 3 outputs\n",
     namesOpenCamera(ResultReadFailed), kStackAnswers, memoryReadFramesCommand, atMostFrames(4, 65536)},
    {"MemoryReadSegments", INPUTS("MemoryReadSegments"), "SNS", "cameraId, firstSegment, count", "WKW", "MemoryReadSegments needs 3 outputs\n",
     namesOpenCamera(ResultReadFailed), kStackAnswers, memoryReadSegmentsCommand, atMostFrames(4, 65536)},
    {"DiskReadProgress", INPUTS("DiskReadProgress"), "S", "cameraId", "WWWW", "DiskReadProgress needs 4 outputs\n",
     namesOpenCamera(ResultReadFailed), answersOkOr(ResultReadFailed), diskReadProgressCommand},
    {"FrameReadyCount", INPUTS("FrameReadyCount"), "S", "cameraId", "WW", "FrameReadyCount needs 2 outputs\n",
     namesOpenCamera(ResultOk), answerSet(ResultOk), frameReadyCountCommand},
    {"OpenSerial", INPUTS("OpenSerial"), "S", "cameraId", "WW", "OpenSerial needs 2 outputs\n", namesOpenCamera(ResultOk),
     answerSet(ResultOk), openSerialCommand},
    {"CheckAttached", INPUTS("CheckAttached"), "S", "cameraId", "WW", "CheckAttached needs 2 outputs\n",
     namesOpenCamera(ResultOk), answerSet(ResultOk), checkAttachedCommand},
    {"DriverInfo", INPUTS("DriverInfo"), "", "", "TW", "DriverInfo needs 2 outputs\n", kNoCameraArgument, 0,
     driverInfoCommand},
    {"MemorySaveFrames", INPUTS("MemorySaveFrames"), "SFPNNN", "cameraId, file, firstPosition, count, mode, pages", "WW", "MemorySaveFrames needs 2 outputs\n",
     namesOpenCamera(ResultReadFailed), kStackAnswers, memorySaveFramesCommand},
    {"MemorySaveSegments", INPUTS("MemorySaveSegments"), "SFNNNN", "cameraId, file, firstSegment, count, mode, pages", "WW", "MemorySaveSegments needs 2 outputs\n",
     namesOpenCamera(ResultReadFailed), kStackAnswers, memorySaveSegmentsCommand},
    {"CheckPixelFormat", INPUTS("CheckPixelFormat"), "SN", "cameraId, pixelFormat", "W", "CheckPixelFormat needs 1 output\n",
     namesOpenCamera(ResultInfoReadFailed),
     answerSet(ResultOk, ResultFormatNotMono, ResultInfoReadFailed, ResultFormatNotSupported), checkPixelFormatCommand},
};

#undef INPUTS

namespace {

constexpr bool sameText(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) return a == b;
    while (*a != '\0' && *a == *b) ++a, ++b;
    return *a == *b;
}

constexpr bool onlyKindsOf(const char* kinds, const char* known) {
    for (; *kinds != '\0'; ++kinds) {
        const char* k = known;
        while (*k != '\0' && *k != *kinds) ++k;
        if (*k == '\0') return false;
    }
    return true;
}

constexpr bool oneRowPerKeyword() {
    for (size_t i = 0; i < kCommandCount; ++i)
        for (size_t j = i + 1; j < kCommandCount; ++j)
            if (sameText(kCommandTable[i].keyword, kCommandTable[j].keyword)) return false;
    return true;
}

// One name per argument kind, separated by ", ".
constexpr bool namesEachArgument(const CommandRow& row) {
    int names = row.argumentNames[0] == '\0' ? 0 : 1;
    for (const char* c = row.argumentNames; *c != '\0'; ++c) {
        if (*c != ',') continue;
        if (c[1] != ' ') return false;
        ++names;
    }
    return names == kindCount(row.argumentKinds);
}

// A bound names a scalar input and has a message; its maximum leaves every
// negative number (read as its low 32 bits) past it.
constexpr bool boundFits(const CommandRow& row) {
    const ValueBound& bound = row.bound;
    if (bound.position == 0) return bound.message == BoundMessage::None && bound.maximum == 0;
    return bound.position >= 2 && bound.position <= row.inputCount() && row.argumentKinds[bound.position - 2] == 'S' &&
           bound.message != BoundMessage::None && bound.maximum <= uint32_t(INT32_MAX);
}

// Every input fits the call's arrays by position; a camera id is a scalar
// and its command answers a status number, the not-open one among them.
constexpr bool rowFits(const CommandRow& row) {
    const bool kindsKnown = onlyKindsOf(row.argumentKinds, "STFPN") && onlyKindsOf(row.outputKinds, "WTLGIKC");
    const bool cameraSound = !row.camera.named || (row.argumentKinds[0] == 'S' && row.outputKinds[0] == 'W' &&
                                                   row.mayAnswer(row.camera.notOpenStatus));
    return row.keyword[0] != '\0' && kindsKnown && row.inputCount() <= kMaxInputs && row.outputCount() >= 1 &&
           cameraSound && namesEachArgument(row) && boundFits(row);
}

// The table's size comes from its declaration: rows left out are zero.
// (Handlers are not compared: sanitizer builds do not fold their addresses.)
constexpr bool everyRowFilled() {
    for (const CommandRow& row : kCommandTable)
        if (row.keyword == nullptr || row.argumentKinds == nullptr || row.argumentNames == nullptr ||
            row.outputKinds == nullptr)
            return false;
    return true;
}

constexpr bool everyRowFits() {
    for (const CommandRow& row : kCommandTable)
        if (!rowFits(row)) return false;
    return true;
}

// The bulk reads' bound stays a number in its row, where build_quorvelml
// reads it; the core's limit, which every host refuses past, must agree.
constexpr bool bulkReadsBoundedByTheCore() {
    for (const CommandRow& row : kCommandTable)
        if (row.bound.message == BoundMessage::FrameCount && row.bound.maximum != kBulkReadFrameLimit) return false;
    return true;
}

static_assert(everyRowFilled(), "the table has fewer rows than kCommandCount");
static_assert(oneRowPerKeyword(), "a keyword has two rows");
static_assert(!everyRowFilled() || everyRowFits(),
              "a row's kinds, names or bound do not fit the call, or its camera facts disagree");
static_assert(bulkReadsBoundedByTheCore(), "a bulk read's bound is not acquisition's kBulkReadFrameLimit");

}  // namespace

const CommandRow* findCommand(const char* keyword) {
    for (const CommandRow& row : kCommandTable)
        if (std::strcmp(row.keyword, keyword) == 0) return &row;
    return nullptr;
}
