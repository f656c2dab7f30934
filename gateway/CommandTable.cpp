#include "CommandTable.h"

#include "Handlers.h"

#include <cstring>

#define INPUTS(name) "Invalid number of inputs to " name "\n"

// Compared in this order; the first equal keyword wins.
const CommandRow kCommandTable[kCommandCount] = {
    {"InitPCIeMemory", INPUTS("InitPCIeMemory"), "S", 1, "InitPCIeMemory needs 1 output\n", initPCIeMemoryCommand},
    {"SetNetAdapterIPAddress", INPUTS("SetNetAdapterIPAddress"), "T", 1, "SetNetAdapterIPAddress needs 1 outputs\n",
     setNetAdapterIPAddressCommand},
    {"OpenCamera", INPUTS("ZelOpenCamera"), "S", 2, "ZelOpenCamera needs 2 outputs\n", openCameraCommand},
    {"CloseCamera", INPUTS("ZelCloseCamera"), "S", 1, "ZelCloseCamera needs 1 output\n", closeCameraCommand},
    {"EnumCameras", INPUTS("ZelEnumCameras"), "S", 3, "ZelEnumCameras needs 3 outputs\n", enumCamerasCommand},
    {"GetCameraInfo", INPUTS("ZelGetCameraInfo"), "SS", 2, "ZelGetCameraInfo needs 2 outputs\n",
     getCameraInfoCommand},
    {"GetParameter", INPUTS("ZelGetParameter"), "SS", 4, "ZelGetParameter needs 4 outputs\n", getParameterCommand},
    {"SetParameter", INPUTS("ZelSetParameter"), "SSS", 1, "ZelSetParameter needs 1 outputs\n", setParameterCommand},
    {"Abort", INPUTS("ZelAbort"), "S", 1, "ZelAbort needs 1 output\n", abortCommand},
    {"Version", INPUTS("Version"), "", 1, "Version needs 1 output\n", versionCommand},
    {"GrabIsReady", INPUTS("GrabIsReady"), "S", 2, "GrabIsReady needs 2 outputs\n", grabIsReadyCommand},
    {"GetBrocParameters", INPUTS("GetBrocParameters"), "SS", 5, "GetBrocParameters needs 5 outputs\n",
     getBrocParametersCommand},
    {"SynchGrab", INPUTS("ZelSynchGrab"), "SS", 3, "ZelSynchGrab needs 3 outputs\n", synchGrabCommand},
    {"MemoryPreview", INPUTS("MemoryPreview"), "S", 3, "MemoryPreview needs 3 outputs\n", memoryPreviewCommand},
    {"MemoryStartGrab", INPUTS("StartGrabEx"), "SSSSS", 1, "StartGrabEx needs 1 outputs\n", memoryStartGrabCommand},
    {"MemoryStopGrab", INPUTS("EndGrabEx"), "S", 1, "EndGrabEx needs 1 output\n", memoryStopGrabCommand},
    {"MemoryReadData", INPUTS("ReadMemory"), "SSSS", 2, "ZelStartAcquire needs 2 outputs\n", memoryReadDataCommand},
    {"MemoryReadTriggerPosition", INPUTS("RuxMemoryReadTriggerPosition"), "S", 3,
     "MemoryReadTriggerPosition needs 3 outputs\n", memoryReadTriggerPositionCommand},
    {"CalibrateNoiseReduction", INPUTS("CalibrateNoiseReduction"), "SS", 1,
     "CalibrateNoiseReduction needs 1 output\n", calibrateNoiseReductionCommand},
    {"SendCfg", INPUTS("SendCfg"), "S", 1, "SendCfg needs 1 output\n", sendCfgCommand},
    {"Trigger", INPUTS("Trigger"), "S", 1, "Trigger needs 1 output\n", triggerCommand},
    {"ReadGPSTiming", INPUTS("ReadGPSTiming"), "SS", 2, "ReadGPSTiming needs 2 outputs\n", readGPSTimingCommand},
    {"Reset", INPUTS("Reset"), "S", 1, "Reset needs 1 output\n", resetCommand},
    {"EnableDiagnosticTrace", INPUTS("EnableDiagnosticTrace"), "STS", 1, "EnableDiagnosticTrace needs 1 outputs\n",
     enableDiagnosticTraceCommand},
    {"EraseMemory", INPUTS("MemoryErase"), "S", 1, "MemoryErase needs 1 output\n", eraseMemoryCommand},
    {"MemoryDownloadRawFrame", INPUTS("MemoryDownloadRawFrame"), "STSSSSS", 1,
     "MemoryDownloadRawFrame needs 1 outputs\n", memoryDownloadRawFrameCommand},
    {"PreLoadDriver", INPUTS("PreLoadDriver"), "SSS", 1, "PreLoadDriver needs 1 outputs\n", preLoadDriverCommand},
    {"OpenRawCamera", INPUTS("ZelOpenRawCamera"), "T", 2, "ZelOpenRawCamera needs 2 outputs\n",
     openRawCameraCommand},
    {"MemoryReadFromDisk", INPUTS("MemoryReadFromDisk"), "SSSSSSS", 1, "MemoryReadFromDisk needs 1 outputs\n",
     memoryReadFromDiskCommand},
    {"MemoryReadFrames", INPUTS("MemoryReadFrames"), "SSS", 3, "MemoryReadFrames needs 3 outputs\n",
     memoryReadFramesCommand},
    {"MemoryReadSegments", INPUTS("MemoryReadSegments"), "SSS", 3, "MemoryReadSegments needs 3 outputs\n",
     memoryReadSegmentsCommand},
    {"DiskReadProgress", INPUTS("DiskReadProgress"), "S", 4, "DiskReadProgress needs 4 outputs\n",
     diskReadProgressCommand},
};

#undef INPUTS

int CommandRow::inputCount() const { return 1 + static_cast<int>(std::strlen(argumentKinds)); }

const CommandRow* findCommand(const char* keyword) {
    for (const CommandRow& row : kCommandTable)
        if (std::strcmp(row.keyword, keyword) == 0) return &row;
    return nullptr;
}
