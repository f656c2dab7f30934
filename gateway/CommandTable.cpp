#include "CommandTable.h"

#include "Handlers.h"

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
    {"InitPCIeMemory", INPUTS("InitPCIeMemory"), "S", "W", "InitPCIeMemory needs 1 output\n", kNoCameraArgument,
     kFlagAnswers, initPCIeMemoryCommand},
    {"SetNetAdapterIPAddress", INPUTS("SetNetAdapterIPAddress"), "T", "W", "SetNetAdapterIPAddress needs 1 outputs\n",
     kNoCameraArgument, kFlagAnswers, setNetAdapterIPAddressCommand},
    {"OpenCamera", INPUTS("ZelOpenCamera"), "S", "WW", "ZelOpenCamera needs 2 outputs\n", kNoCameraArgument,
     answerSet(ResultOk, ResultOpenFailed, ResultSettingsLoadFailed), openCameraCommand},
    {"CloseCamera", INPUTS("ZelCloseCamera"), "S", "W", "ZelCloseCamera needs 1 output\n",
     namesOpenCamera(ResultCloseFailed), answersOkOr(ResultCloseFailed), closeCameraCommand},
    {"EnumCameras", INPUTS("ZelEnumCameras"), "S", "WWL", "ZelEnumCameras needs 3 outputs\n", kNoCameraArgument,
     kFlagAnswers, enumCamerasCommand},
    {"GetCameraInfo", INPUTS("ZelGetCameraInfo"), "SS", "WW", "ZelGetCameraInfo needs 2 outputs\n",
     namesOpenCamera(ResultInfoReadFailed), answersOkOr(ResultInfoReadFailed), getCameraInfoCommand},
    {"GetParameter", INPUTS("ZelGetParameter"), "SS", "WWWW", "ZelGetParameter needs 4 outputs\n",
     namesOpenCamera(ResultParameterReadFailed), answersOkOr(ResultParameterReadFailed), getParameterCommand},
    {"SetParameter", INPUTS("ZelSetParameter"), "SSS", "W", "ZelSetParameter needs 1 outputs\n",
     namesOpenCamera(ResultParameterWriteFailed), answerSet(ResultOk, ResultValueRejected, ResultParameterWriteFailed),
     setParameterCommand},
    {"Abort", INPUTS("ZelAbort"), "S", "W", "ZelAbort needs 1 output\n", kNoCameraArgument, answerSet(ResultOk),
     abortCommand},
    {"Version", INPUTS("Version"), "", "T", "Version needs 1 output\n", kNoCameraArgument, 0, versionCommand},
    {"GrabIsReady", INPUTS("GrabIsReady"), "S", "WW", "GrabIsReady needs 2 outputs\n", namesOpenCamera(ResultOk),
     answerSet(ResultOk), grabIsReadyCommand},
    {"GetBrocParameters", INPUTS("GetBrocParameters"), "SS", "WWWWW", "GetBrocParameters needs 5 outputs\n",
     namesOpenCamera(ResultParameterReadFailed), answersOkOr(ResultParameterReadFailed), getBrocParametersCommand},
    {"SynchGrab", INPUTS("ZelSynchGrab"), "SS", "WGG", "ZelSynchGrab needs 3 outputs\n",
     namesOpenCamera(ResultInfoReadFailed), kLiveImageAnswers, synchGrabCommand},
    {"MemoryPreview", INPUTS("MemoryPreview"), "S", "WGW", "MemoryPreview needs 3 outputs\n",
     namesOpenCamera(ResultInfoReadFailed), kLiveImageAnswers, memoryPreviewCommand},
    {"MemoryStartGrab", INPUTS("StartGrabEx"), "SSSSS", "W", "StartGrabEx needs 1 outputs\n",
     namesOpenCamera(ResultGrabFailed), answerSet(ResultOk, ResultGrabFailed, ResultResetFailed),
     memoryStartGrabCommand},
    {"MemoryStopGrab", INPUTS("EndGrabEx"), "S", "W", "EndGrabEx needs 1 output\n", namesOpenCamera(ResultStopFailed),
     answersOkOr(ResultStopFailed), memoryStopGrabCommand},
    {"MemoryReadData", INPUTS("ReadMemory"), "SSSS", "WI", "ZelStartAcquire needs 2 outputs\n",
     namesOpenCamera(ResultReadFailed), kReadoutAnswers, memoryReadDataCommand},
    {"MemoryReadTriggerPosition", INPUTS("RuxMemoryReadTriggerPosition"), "S", "WWW",
     "MemoryReadTriggerPosition needs 3 outputs\n", namesOpenCamera(ResultTriggerPositionFailed),
     answersOkOr(ResultTriggerPositionFailed), memoryReadTriggerPositionCommand},
    {"CalibrateNoiseReduction", INPUTS("CalibrateNoiseReduction"), "SS", "W",
     "CalibrateNoiseReduction needs 1 output\n", namesOpenCamera(ResultCalibrationFailed),
     answersOkOr(ResultCalibrationFailed), calibrateNoiseReductionCommand},
    {"SendCfg", INPUTS("SendCfg"), "S", "W", "SendCfg needs 1 output\n", namesOpenCamera(ResultSettingsSendFailed),
     answersOkOr(ResultSettingsSendFailed), sendCfgCommand},
    {"Trigger", INPUTS("Trigger"), "S", "W", "Trigger needs 1 output\n", namesOpenCamera(ResultTriggerFailed),
     answersOkOr(ResultTriggerFailed), triggerCommand},
    {"ReadGPSTiming", INPUTS("ReadGPSTiming"), "SS", "WC", "ReadGPSTiming needs 2 outputs\n",
     namesOpenCamera(ResultTimingReadFailed), answersOkOr(ResultTimingReadFailed), readGPSTimingCommand},
    {"Reset", INPUTS("Reset"), "S", "W", "Reset needs 1 output\n", namesOpenCamera(ResultResetFailed),
     answersOkOr(ResultResetFailed), resetCommand},
    {"EnableDiagnosticTrace", INPUTS("EnableDiagnosticTrace"), "STS", "W", "EnableDiagnosticTrace needs 1 outputs\n",
     namesOpenCamera(ResultTraceFailed), answersOkOr(ResultTraceFailed), enableDiagnosticTraceCommand},
    {"EraseMemory", INPUTS("MemoryErase"), "S", "W", "MemoryErase needs 1 output\n", namesOpenCamera(ResultEraseFailed),
     answersOkOr(ResultEraseFailed), eraseMemoryCommand},
    {"MemoryDownloadRawFrame", INPUTS("MemoryDownloadRawFrame"), "STSSSSS", "W",
     "MemoryDownloadRawFrame needs 1 outputs\n", namesOpenCamera(ResultDownloadFailed),
     answersOkOr(ResultDownloadFailed), memoryDownloadRawFrameCommand},
    {"PreLoadDriver", INPUTS("PreLoadDriver"), "SSS", "W", "PreLoadDriver needs 1 outputs\n", kNoCameraArgument,
     answerSet(ResultOk, ResultValueRejected), preLoadDriverCommand},
    {"OpenRawCamera", INPUTS("ZelOpenRawCamera"), "T", "WW", "ZelOpenRawCamera needs 2 outputs\n", kNoCameraArgument,
     answerSet(ResultOk, ResultParameterReadFailed, ResultSettingsSendFailed, ResultRawOpenFailed),
     openRawCameraCommand},
    {"MemoryReadFromDisk", INPUTS("MemoryReadFromDisk"), "SSSSSSS", "W", "MemoryReadFromDisk needs 1 outputs\n",
     namesOpenCamera(ResultReadFailed), answersOkOr(ResultReadFailed), memoryReadFromDiskCommand},
    {"MemoryReadFrames", INPUTS("MemoryReadFrames"), "SSS", "WKW", "MemoryReadFrames needs 3 outputs\n",
     namesOpenCamera(ResultReadFailed), kStackAnswers, memoryReadFramesCommand},
    {"MemoryReadSegments", INPUTS("MemoryReadSegments"), "SSS", "WKW", "MemoryReadSegments needs 3 outputs\n",
     namesOpenCamera(ResultReadFailed), kStackAnswers, memoryReadSegmentsCommand},
    {"DiskReadProgress", INPUTS("DiskReadProgress"), "S", "WWWW", "DiskReadProgress needs 4 outputs\n",
     namesOpenCamera(ResultReadFailed), answersOkOr(ResultReadFailed), diskReadProgressCommand},
    {"MemorySaveFrames", INPUTS("MemorySaveFrames"), "STSSSS", "WW", "MemorySaveFrames needs 2 outputs\n",
     namesOpenCamera(ResultReadFailed), kStackAnswers, memorySaveFramesCommand},
    {"MemorySaveSegments", INPUTS("MemorySaveSegments"), "STSSSS", "WW", "MemorySaveSegments needs 2 outputs\n",
     namesOpenCamera(ResultReadFailed), kStackAnswers, memorySaveSegmentsCommand},
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

// Every input fits the call's arrays by position; a camera id is a scalar
// and its command answers a status number, the not-open one among them.
constexpr bool rowFits(const CommandRow& row) {
    const bool kindsKnown = onlyKindsOf(row.argumentKinds, "ST") && onlyKindsOf(row.outputKinds, "WTLGIKC");
    const bool cameraSound = !row.camera.named || (row.argumentKinds[0] == 'S' && row.outputKinds[0] == 'W' &&
                                                   row.mayAnswer(row.camera.notOpenStatus));
    return row.keyword[0] != '\0' && kindsKnown && row.inputCount() <= kMaxInputs && row.outputCount() >= 1 &&
           cameraSound;
}

// The table's size comes from its declaration: rows left out are zero.
// (Handlers are not compared: sanitizer builds do not fold their addresses.)
constexpr bool everyRowFilled() {
    for (const CommandRow& row : kCommandTable)
        if (row.keyword == nullptr || row.argumentKinds == nullptr || row.outputKinds == nullptr) return false;
    return true;
}

constexpr bool everyRowFits() {
    for (const CommandRow& row : kCommandTable)
        if (!rowFits(row)) return false;
    return true;
}

static_assert(everyRowFilled(), "the table has fewer rows than kCommandCount");
static_assert(oneRowPerKeyword(), "a keyword has two rows");
static_assert(!everyRowFilled() || everyRowFits(), "a row's kinds do not fit the call or its camera facts disagree");

}  // namespace

const CommandRow* findCommand(const char* keyword) {
    for (const CommandRow& row : kCommandTable)
        if (std::strcmp(row.keyword, keyword) == 0) return &row;
    return nullptr;
}
