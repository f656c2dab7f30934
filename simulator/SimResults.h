// Results the simulator answers on its own, where the driver would report
// a failure of the camera or of the call.
#ifndef QUORVEL_SIMULATOR_SIMRESULTS_H
#define QUORVEL_SIMULATOR_SIMRESULTS_H

#include <cstdint>

constexpr uint32_t kSimErrorNoCamera = 1;       // unknown id or handle
constexpr uint32_t kSimErrorBusy = 2;           // already open
constexpr uint32_t kSimErrorBadSettings = 5;    // settings record not loaded for this camera
constexpr uint32_t kSimErrorOutOfRange = 3;     // drvSetParameter: value outside the limits
constexpr uint32_t kSimErrorUnknownItem = 6;    // no such information item or parameter
constexpr uint32_t kSimErrorNotLoaded = 7;      // drvLoad has not run

// Camera memory: recording, readout and transfers.
constexpr uint32_t kSimErrorNoFrame = 21;     // no recorded frame at that position, or no room
constexpr uint32_t kSimErrorNoTrigger = 22;   // the trigger frame is not recorded yet
constexpr uint32_t kSimErrorNoFile = 23;      // no disk file, or it cannot be opened
constexpr uint32_t kSimErrorBadFile = 24;     // not a recording file
constexpr uint32_t kSimErrorRecording = 25;   // a recording or disk read already runs

#endif
