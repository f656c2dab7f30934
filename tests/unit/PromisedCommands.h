// Every command as its users are promised it, written out by hand and kept
// apart from the command table: the exact texts of the count messages, the
// argument kinds by position, the output count, the numbers output 1 may
// hold, the answer for a camera id no open camera holds, and the largest
// value of a bounded input with the message past it. Tests hold the
// module to this list, so that a changed byte in the table fails them.
#ifndef QUORVEL_TESTS_PROMISEDCOMMANDS_H
#define QUORVEL_TESTS_PROMISEDCOMMANDS_H

#include <cstdint>
#include <vector>

struct PromisedCommand {
    const char* keyword;
    // From input 2 on: 'S' scalar, 'T' text, 'F' file name of any length,
    // 'P' whole position (0 to 2^64 - 1), 'N' whole 32-bit number.
    const char* kinds;
    int outputs;
    const char* inputCountMessage;
    const char* outputCountMessage;
    std::vector<uint32_t> answers;  // of output 1; empty for text
    int notOpen;                    // output 1 for an id no open camera holds; -1: input 2 names no camera
    int boundPosition = 0;          // the bounded input; 0: none
    uint32_t boundMaximum = 0;
    const char* boundMessage = "";  // raised, as QuorvelML:inputValue, past the maximum
};

constexpr int kNoCamera = -1;

// In the order the keywords are compared.
inline const std::vector<PromisedCommand>& promisedCommands() {
    static const std::vector<PromisedCommand> commands = {
        {"InitPCIeMemory", "S", 1, "Invalid number of inputs to InitPCIeMemory\n", "InitPCIeMemory needs 1 output\n",
         {0, 1}, kNoCamera},
        {"SetNetAdapterIPAddress", "T", 1, "Invalid number of inputs to SetNetAdapterIPAddress\n",
         "SetNetAdapterIPAddress needs 1 outputs\n", {0, 1}, kNoCamera},
        {"OpenCamera", "S", 2, "Invalid number of inputs to ZelOpenCamera\n", "ZelOpenCamera needs 2 outputs\n",
         {0, 2, 5}, kNoCamera},
        {"CloseCamera", "S", 1, "Invalid number of inputs to ZelCloseCamera\n", "ZelCloseCamera needs 1 output\n",
         {0, 6}, 6},
        {"EnumCameras", "S", 3, "Invalid number of inputs to ZelEnumCameras\n", "ZelEnumCameras needs 3 outputs\n",
         {0, 1}, kNoCamera},
        {"GetCameraInfo", "SS", 2, "Invalid number of inputs to ZelGetCameraInfo\n",
         "ZelGetCameraInfo needs 2 outputs\n", {0, 9}, 9},
        {"GetParameter", "SS", 4, "Invalid number of inputs to ZelGetParameter\n", "ZelGetParameter needs 4 outputs\n",
         {0, 7}, 7},
        {"SetParameter", "SSS", 1, "Invalid number of inputs to ZelSetParameter\n", "ZelSetParameter needs 1 outputs\n",
         {0, 4, 8}, 8},
        {"Abort", "S", 1, "Invalid number of inputs to ZelAbort\n", "ZelAbort needs 1 output\n", {0}, kNoCamera},
        {"Version", "", 1, "Invalid number of inputs to Version\n", "Version needs 1 output\n", {}, kNoCamera},
        {"GrabIsReady", "S", 2, "Invalid number of inputs to GrabIsReady\n", "GrabIsReady needs 2 outputs\n", {0}, 0},
        {"GetBrocParameters", "SS", 5, "Invalid number of inputs to GetBrocParameters\n",
         "GetBrocParameters needs 5 outputs\n", {0, 7}, 7},
        {"SynchGrab", "SS", 3, "Invalid number of inputs to ZelSynchGrab\n", "ZelSynchGrab needs 3 outputs\n",
         {0, 3, 7, 9, 11, 12, 18}, 9},
        {"MemoryPreview", "S", 3, "Invalid number of inputs to MemoryPreview\n", "MemoryPreview needs 3 outputs\n",
         {0, 3, 7, 9, 11, 12, 18}, 9},
        {"MemoryStartGrab", "SSSSS", 1, "Invalid number of inputs to StartGrabEx\n", "StartGrabEx needs 1 outputs\n",
         {0, 12, 21}, 12},
        {"MemoryStopGrab", "S", 1, "Invalid number of inputs to EndGrabEx\n", "EndGrabEx needs 1 output\n", {0, 15},
         15},
        {"MemoryReadData", "SSSS", 2, "Invalid number of inputs to ReadMemory\n", "ZelStartAcquire needs 2 outputs\n",
         {0, 3, 7, 9, 11, 13, 18}, 13},
        {"MemoryReadTriggerPosition", "S", 3, "Invalid number of inputs to RuxMemoryReadTriggerPosition\n",
         "MemoryReadTriggerPosition needs 3 outputs\n", {0, 14}, 14},
        {"CalibrateNoiseReduction", "SS", 1, "Invalid number of inputs to CalibrateNoiseReduction\n",
         "CalibrateNoiseReduction needs 1 output\n", {0, 17}, 17},
        {"SendCfg", "S", 1, "Invalid number of inputs to SendCfg\n", "SendCfg needs 1 output\n", {0, 10}, 10},
        {"Trigger", "S", 1, "Invalid number of inputs to Trigger\n", "Trigger needs 1 output\n", {0, 19}, 19},
        {"ReadGPSTiming", "SS", 2, "Invalid number of inputs to ReadGPSTiming\n", "ReadGPSTiming needs 2 outputs\n",
         {0, 20}, 20, 3, 65536, "Input 3 must be a length from 0 to 65536."},
        {"Reset", "S", 1, "Invalid number of inputs to Reset\n", "Reset needs 1 output\n", {0, 21}, 21},
        {"EnableDiagnosticTrace", "STS", 1, "Invalid number of inputs to EnableDiagnosticTrace\n",
         "EnableDiagnosticTrace needs 1 outputs\n", {0, 22}, 22},
        {"EraseMemory", "S", 1, "Invalid number of inputs to MemoryErase\n", "MemoryErase needs 1 output\n", {0, 23},
         23},
        {"MemoryDownloadRawFrame", "STSSSSS", 1, "Invalid number of inputs to MemoryDownloadRawFrame\n",
         "MemoryDownloadRawFrame needs 1 outputs\n", {0, 25}, 25},
        {"PreLoadDriver", "SSS", 1, "Invalid number of inputs to PreLoadDriver\n", "PreLoadDriver needs 1 outputs\n",
         {0, 4}, kNoCamera},
        {"OpenRawCamera", "T", 2, "Invalid number of inputs to ZelOpenRawCamera\n", "ZelOpenRawCamera needs 2 outputs\n",
         {0, 7, 10, 24}, kNoCamera},
        {"MemoryReadFromDisk", "SSSSSSS", 1, "Invalid number of inputs to MemoryReadFromDisk\n",
         "MemoryReadFromDisk needs 1 outputs\n", {0, 13}, 13},
        // The module's own commands after the 29.
        {"MemoryReadFrames", "SPS", 3, "Invalid number of inputs to MemoryReadFrames\n",
         "MemoryReadFrames needs 3 outputs\n", {0, 3, 7, 9, 11, 13, 18}, 13, 4, 65536,
         "MemoryReadFrames reads at most 65536 frames\n"},
        {"MemoryReadSegments", "SNS", 3, "Invalid number of inputs to MemoryReadSegments\n",
         "MemoryReadSegments needs 3 outputs\n", {0, 3, 7, 9, 11, 13, 18}, 13, 4, 65536,
         "MemoryReadSegments reads at most 65536 frames\n"},
        {"DiskReadProgress", "S", 4, "Invalid number of inputs to DiskReadProgress\n",
         "DiskReadProgress needs 4 outputs\n", {0, 13}, 13},
        {"FrameReadyCount", "S", 2, "Invalid number of inputs to FrameReadyCount\n",
         "FrameReadyCount needs 2 outputs\n", {0}, 0},
        {"OpenSerial", "S", 2, "Invalid number of inputs to OpenSerial\n", "OpenSerial needs 2 outputs\n", {0}, 0},
        {"CheckAttached", "S", 2, "Invalid number of inputs to CheckAttached\n", "CheckAttached needs 2 outputs\n", {0},
         0},
        {"DriverInfo", "", 2, "Invalid number of inputs to DriverInfo\n", "DriverInfo needs 2 outputs\n", {},
         kNoCamera},
        {"MemorySaveFrames", "SFPNNN", 2, "Invalid number of inputs to MemorySaveFrames\n",
         "MemorySaveFrames needs 2 outputs\n", {0, 3, 7, 9, 11, 13, 18}, 13},
        {"MemorySaveSegments", "SFNNNN", 2, "Invalid number of inputs to MemorySaveSegments\n",
         "MemorySaveSegments needs 2 outputs\n", {0, 3, 7, 9, 11, 13, 18}, 13},
        {"CheckPixelFormat", "SN", 1, "Invalid number of inputs to CheckPixelFormat\n",
         "CheckPixelFormat needs 1 output\n", {0, 3, 9, 18}, 9},
    };
    return commands;
}

#endif
