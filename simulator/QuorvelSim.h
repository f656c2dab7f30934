// Control API of the simulated QuorvelDrv: simulated cameras that tests and
// users without hardware drive through the ordinary driver interface.
//
// The simulator keeps a set of cameras (reset to the default set below),
// logs every driver call with its arguments, and can force any operation's
// result: a forced call returns the forced value at once and has no effect,
// so a forced 0 is a success that did nothing. All functions are safe to
// call from any thread.
#ifndef QUORVEL_SIMULATOR_QUORVELSIM_H
#define QUORVEL_SIMULATOR_QUORVELSIM_H

#include "driver/QuorvelDrv.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The default cameras, in enumeration order.
constexpr uint32_t kSimColourCameraId = 1001;   // colour, type 5
constexpr uint32_t kSimMonoCameraId = 1002;     // mono, type 2
constexpr uint32_t kSimMemoryCameraId = 1003;   // type 13: reset and erased at open
constexpr uint32_t kSimSegmentedCameraId = 1004; // type 19: records in segments
constexpr uint32_t kSimColourCameraType = 5;
constexpr uint32_t kSimMonoCameraType = 2;
constexpr uint32_t kSimMemoryCameraType = 13;
constexpr uint32_t kSimSegmentedCameraType = 19;
constexpr uint32_t kSimRawCameraType = 9;       // what a raw camera reports as item 0

// Camera information items and parameters the simulator gives meaning to.
constexpr uint32_t kSimInfoCameraType = 0;
constexpr uint32_t kSimInfoModelAttribute = 7;
constexpr uint32_t kSimInfoColour = 12;
constexpr uint32_t kSimInfoAddressing = 24;
constexpr uint32_t kSimParamPixelFormat = 2;
constexpr uint32_t kSimParamExtraFrames = 7;
constexpr uint32_t kSimParamExposure = 11;
constexpr uint32_t kSimParamWidth = 15;
constexpr uint32_t kSimParamHeight = 16;
constexpr uint32_t kSimParamOpenSetting = 35;

// Results the simulator answers on its own.
constexpr uint32_t kSimErrorNoCamera = 1;       // unknown id or handle
constexpr uint32_t kSimErrorBusy = 2;           // already open
constexpr uint32_t kSimErrorBadSettings = 5;    // settings record not loaded for this camera
constexpr uint32_t kSimErrorOutOfRange = 3;     // drvSetParameter: value outside the limits
constexpr uint32_t kSimErrorUnknownItem = 6;    // no such information item or parameter
constexpr uint32_t kSimErrorNotLoaded = 7;      // drvLoad has not run

// Settings records the simulator fills: word 0 keeps the size, word 1 the
// camera id, word 2 the signature, word 3 1 for the extended load.
constexpr uint32_t kSimSettingsSignature = 0x51534554;

struct SimParameter {
    uint32_t value = 0;
    uint32_t limit0 = 0;  // lower bound
    uint32_t limit1 = 0xFFFFFFFFu;  // upper bound
};

struct SimCamera {
    uint32_t cameraId = 0;
    uint32_t inUse = 0;  // reported in-use word; an open camera reports 1 too
    std::map<uint32_t, uint32_t> info;             // item 0 is the camera type
    std::map<uint32_t, SimParameter> parameters;

    // State the driver keeps; read it with simCamera().
    bool raw = false;           // opened by drvOpenRawCamera; never enumerated
    std::string rawSource;      // the text that named it
    bool open = false;
    DeviceHandle handle = 0;
    uint32_t resets = 0;
    uint32_t erases = 0;
    uint32_t settingsLoads = 0;
    uint32_t settingsSent = 0;
    uint32_t captureStops = 0;
};

// A camera of the given type with the simulator's usual items and
// parameters: 640 x 480 8-bit mono when colour is false, 8-bit colour else.
SimCamera simMakeCamera(uint32_t cameraId, uint32_t cameraType, bool colour);

struct SimCall {
    std::string operation;             // "drvOpenCamera"
    std::vector<uint64_t> arguments;   // numbers and addresses in order
    std::string text;                  // the text argument, if the call has one
    bool hasText = false;
    std::string describe() const;      // "drvOpenCamera(1001, 0x7ffd...)"
};

constexpr int kSimForever = -1;

// Back to the default cameras, an empty log, nothing forced, not loaded.
void simReset();

void simAddCamera(const SimCamera& camera);
bool simRemoveCamera(uint32_t cameraId);
// Applies change to the camera under the simulator's lock; false if absent.
bool simConfigureCamera(uint32_t cameraId, const std::function<void(SimCamera&)>& change);
std::optional<SimCamera> simCamera(uint32_t cameraId);
std::vector<uint32_t> simCameraIds();

// The next `count` calls of the operation (kSimForever: every call) return
// value without effect.
void simForceResult(const std::string& operation, uint32_t value, int count = 1);
void simClearForcedResults();

// The count drvEnumCameras reports, whatever it fills; nullopt: the truth.
void simSetReportedEnumCount(std::optional<uint32_t> count);

std::vector<SimCall> simCallLog();
void simClearCallLog();
// Calls of the operation in the log.
int simCallCount(const std::string& operation);

// Calls the recording callback that drvStartRecording registered for the
// camera, on the calling thread; false when none is registered.
bool simFireRecordEvent(uint32_t cameraId);
// Calls the disk-read callback that drvReadFromDisk registered for the camera.
bool simFireDiskProgress(uint32_t cameraId, uint32_t current, uint32_t final);

bool simDriverLoaded();

#endif
