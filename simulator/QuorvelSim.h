// Control API of the simulated QuorvelDrv: simulated cameras that tests and
// users without hardware drive through the ordinary driver interface.
//
// The simulator keeps a set of cameras (reset to the default set below),
// logs the most recent driver calls with their arguments and counts every
// call, and can force any operation's result: a forced call returns the
// forced value at once and has no effect, so a forced 0 is a success that
// did nothing. All functions are safe to call from any thread.
#ifndef QUORVEL_SIMULATOR_QUORVELSIM_H
#define QUORVEL_SIMULATOR_QUORVELSIM_H

#include "driver/QuorvelDrv.h"
#include "SimFrames.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// ---- The driver's operations ------------------------------------------------
// One enumerator per operation of QuorvelDrv.h's list, in its order: fault
// schedules and call counts are kept by it.
enum class SimOperation : uint8_t {
#define QUORVEL_SIM_OPERATION(name, ordinal) name,
    QUORVEL_DRV_OPERATIONS(QUORVEL_SIM_OPERATION)
#undef QUORVEL_SIM_OPERATION
};
#define QUORVEL_SIM_OPERATION_COUNT(name, ordinal) +1
constexpr size_t kSimOperationCount = 0 QUORVEL_DRV_OPERATIONS(QUORVEL_SIM_OPERATION_COUNT);
#undef QUORVEL_SIM_OPERATION_COUNT

// The name a schedule gives for every operation at once.
constexpr const char* kSimAnyOperation = "*";

const char* simOperationName(SimOperation operation);
// The operation of that name; nullopt when the driver has none.
std::optional<SimOperation> simOperationNamed(std::string_view name);

// A logged operation against a name. A name the driver has no operation of
// throws std::invalid_argument naming it, so that a misspelt name cannot
// make a comparison that is simply never true.
bool operator==(SimOperation operation, std::string_view name);
inline bool operator!=(SimOperation operation, std::string_view name) { return !(operation == name); }
std::ostream& operator<<(std::ostream& out, SimOperation operation);  // its name

// What a fault schedule or a call count is about: one operation, or every
// one (kSimAnyOperation). Made from an enumerator or from a name; a name
// that is neither a driver operation nor kSimAnyOperation throws
// std::invalid_argument naming it, so that a misspelt name cannot pass
// for a schedule that never fires.
struct SimOperationKey {
    SimOperationKey(SimOperation operation) : operation(operation) {}
    SimOperationKey(const char* name);
    SimOperationKey(const std::string& name) : SimOperationKey(name.c_str()) {}

    std::optional<SimOperation> operation;  // nullopt: every operation
};

// ---- The default cameras ----------------------------------------------------
// In enumeration order.
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

struct SimParameter {
    uint32_t value = 0;
    uint32_t limit0 = 0;  // lower bound
    uint32_t limit1 = 0xFFFFFFFFu;  // upper bound
};

// Every simulated camera starts with these items and parameters (value,
// lower and upper limit): 640 x 480, 8-bit mono or 8-bit colour.
constexpr uint32_t kSimDefaultModelAttribute = 1;
constexpr uint32_t kSimDefaultAddressing = 0;
constexpr SimParameter kSimDefaultMonoFormat = {0, 0, 8};
constexpr SimParameter kSimDefaultColourFormat = {2, 0, 8};
constexpr SimParameter kSimDefaultExtraFrames = {0, 0, 7};
constexpr SimParameter kSimDefaultExposure = {1000, 1, 1000000};
constexpr SimParameter kSimDefaultWidth = {640, 16, 4096};
constexpr SimParameter kSimDefaultHeight = {480, 1, 4096};
constexpr SimParameter kSimDefaultOpenSetting = {0, 0, 10000};

// Results the simulator answers on its own.
constexpr uint32_t kSimErrorNoCamera = 1;       // unknown id or handle
constexpr uint32_t kSimErrorBusy = 2;           // already open
constexpr uint32_t kSimErrorBadSettings = 5;    // settings record not loaded for this camera
constexpr uint32_t kSimErrorOutOfRange = 3;     // drvSetParameter: value outside the limits
constexpr uint32_t kSimErrorUnknownItem = 6;    // no such information item or parameter
constexpr uint32_t kSimErrorNotLoaded = 7;      // drvLoad has not run

// Settings records: a load keeps word 0 (the size) and fills word 1 with
// the camera id, word 2 with the signature, word 3 with 1 for the extended
// load, and word kSimSettingsParameterWords + n with the value of parameter
// n; a parameter write stores its value there too. Parameter calls must
// come with a record loaded for the same camera.
constexpr uint32_t kSimSettingsSignature = 0x51534554;
constexpr uint32_t kSimSettingsParameterWords = 4;

constexpr unsigned char kSimFrameExcessByte = 0xA5;

// ---- Live grabs -------------------------------------------------------------
// drvGrabFrames and drvGrabPreview write transfer->frameCount synthetic
// frames (SimFrames.h) of the camera's W, H and PixelFormat into the buffer,
// never more than the byteSize the caller set, number them on from the
// camera's framesDelivered, then apply the camera's SimGrabBehaviour.
struct SimGrabBehaviour {
    uint32_t status1 = 1;               // left in the descriptor's status words
    uint32_t status2 = 1;
    std::optional<uint32_t> byteSize;   // left in byteSize; nullopt: as the caller set it
    std::optional<uint32_t> previewValue;  // nullopt: the number of the first frame written
};

// Where a camera takes its time from. Irig, Gps and Ptp give the system
// clock in UTC; None gives year 0; Fixed gives the camera's fixedTiming.
enum class SimTimeSource { None, Irig, Gps, Ptp, Fixed };

// ---- Camera memory: recording, readout, transfers ---------------------------
// Every camera has a memory of memoryCapacity frames; a frame in memory is
// its frame number (numbered on from framesDelivered, like live grabs), and
// drvReadMemory renders it (SimFrames.h, readout kind) at the camera's
// current W, H and PixelFormat. Positions count frames from 0.
//
// drvStartRecording(handle, frames, trigger, segmentArgument, interval, ...)
// records `frames` frames (0: until the memory is full) from position 0 on,
// one every 1/recordingRate s on a recording thread, and calls the
// recording callback on that thread (event: frame number, detail: position)
// after every `interval`-th frame (0 counts as 1) and after the last. The
// trigger falls on frame `trigger` of the recording (the last one when
// beyond). Cameras of types 18 to 20 record min(segmentArgument + 1,
// frames, kSegmentTableEntries) segments of equal length; each segment's
// first position enters the segment table when it begins. recordingRate
// 0 records a frame only on simFireRecordEvent.
//
// drvReset ends a running recording and disk read (no callback of theirs
// runs after it) and forgets the trigger; the recorded frames stay.
// drvEraseMemory does the same and empties the memory.
//
// drvDownloadRawFrame(handle, file, positionLow, positionHigh, count, -, -)
// writes `count` frames (0 counts as 1) from the position on into the file
// (format in SimTransfers.h) and makes it the camera's disk file.
// drvReadFromDisk(handle, first, count, position, interval, -, -, ...)
// reads frames first.. of the disk file (count 0: to its end) back into
// memory from `position` on, one every 1/diskReadRate s (0: no pause) on
// a disk thread, reporting (frames placed, count) after every
// `interval`-th frame and after the last, possibly after the call returned.
constexpr uint32_t kSimMemoryFrames = 256;
constexpr uint32_t kSimRecordingRate = 500;   // frames per second
constexpr uint32_t kSimDiskReadRate = 1000;   // frames per second

constexpr uint32_t kSimErrorNoFrame = 21;     // no recorded frame at that position, or no room
constexpr uint32_t kSimErrorNoTrigger = 22;   // the trigger frame is not recorded yet
constexpr uint32_t kSimErrorNoFile = 23;      // no disk file, or it cannot be opened
constexpr uint32_t kSimErrorBadFile = 24;     // not a recording file
constexpr uint32_t kSimErrorRecording = 25;   // a recording or disk read already runs

// ---- The camera record ------------------------------------------------------

// What the camera is, as its maker built it and the simulation set it up.
// The driver changes only parameter values, on the writes it is asked for.
struct SimCameraConfig {
    uint32_t cameraId = 0;
    uint32_t inUse = 0;  // reported in-use word; an open camera reports 1 too
    std::map<uint32_t, uint32_t> info;             // item 0 is the camera type
    std::map<uint32_t, SimParameter> parameters;
    SimTimeSource timeSource = SimTimeSource::None;
    TimingRecord fixedTiming = {};
    uint32_t memoryCapacity = kSimMemoryFrames;    // frames
    uint32_t recordingRate = kSimRecordingRate;    // frames per second
    uint32_t diskReadRate = kSimDiskReadRate;      // frames per second
};

// The camera's memory as the driver keeps it.
struct SimMemory {
    std::vector<uint32_t> frames;    // frame numbers by position
    std::vector<uint64_t> segments;  // first position of each segment begun
    bool recording = false;
    bool triggered = false;
    uint32_t triggerPosition = 0;
    std::string diskFile;            // what drvReadFromDisk reads
    bool diskReading = false;
};

// What the driver keeps of the camera while it runs.
struct SimCameraState {
    bool raw = false;           // opened by drvOpenRawCamera; never enumerated
    std::string rawSource;      // the text that named it
    bool open = false;
    DeviceHandle handle = 0;
    uint32_t framesDelivered = 0;   // frames written so far number the next one
    uint32_t calibrationValue = 0;  // of the last calibration
    std::string traceText;          // of the last drvEnableTrace
    uint32_t traceValue = 0;
    SimMemory memory;
};

// How often the camera did what the driver asked of it.
struct SimCounters {
    uint32_t resets = 0;
    uint32_t erases = 0;
    uint32_t settingsLoads = 0;
    uint32_t settingsPrepared = 0;
    uint32_t settingsSent = 0;
    uint32_t captureStops = 0;
    uint32_t triggers = 0;
    uint32_t calibrations = 0;
    uint32_t traceSwitches = 0;
    uint32_t recordings = 0;        // recordings started
};

// What tests make the camera do instead of its normal behaviour.
struct SimOverrides {
    SimGrabBehaviour grab;
    // Frame faults, in the frame-writing calls (drvGrabFrames,
    // drvGrabPreview, drvReadMemory): the next such call writes only
    // partialFrameBytes bytes of its frames and then fails with
    // partialFrameResult; frameExcess makes every frame that many bytes
    // (kSimFrameExcessByte) longer than its W x H pixels. Live grabs still
    // write no more than the caller's byteSize and report the frames' true
    // size in it; a readout frame with its excess stops at W x H x
    // kSimWidestReadoutPixelBytes bytes.
    std::optional<uint32_t> partialFrameBytes;
    uint32_t partialFrameResult = 1;
    uint32_t frameExcess = 0;
};

struct SimCamera {
    SimCameraConfig config;
    SimCameraState state;       // read it with simCamera()
    SimCounters counters;
    SimOverrides overrides;
};

// A camera of the given type with the default items and parameters above.
SimCamera simMakeCamera(uint32_t cameraId, uint32_t cameraType, bool colour);

// ---- Cameras, the call log and callbacks --------------------------------------

struct SimCall {
    SimOperation operation;
    std::vector<uint64_t> arguments;   // numbers and addresses in order
    std::string text;                  // the text argument, if the call has one
    bool hasText = false;
    std::thread::id thread;            // the thread that made the call
    std::string describe() const;      // "drvOpenCamera(1001, 0x7ffd...)"
};

constexpr int kSimForever = -1;

// Calls the log keeps by default: the most recent ones; older calls are
// dropped and counted, so that a long session's memory stays flat.
constexpr size_t kSimCallLogLimit = 4096;

// Back to the default cameras, an empty log of the default limit, nothing
// forced, not loaded.
void simReset();

void simAddCamera(const SimCamera& camera);
bool simRemoveCamera(uint32_t cameraId);
// Applies change to the camera under the simulator's lock; false if absent.
bool simConfigureCamera(uint32_t cameraId, const std::function<void(SimCamera&)>& change);
std::optional<SimCamera> simCamera(uint32_t cameraId);
std::vector<uint32_t> simCameraIds();

// The count drvEnumCameras reports, whatever it fills; nullopt: the truth.
void simSetReportedEnumCount(std::optional<uint32_t> count);

// The most recent calls, oldest first (at most the log's limit).
std::vector<SimCall> simCallLog();
void simClearCallLog();
// Calls of the operation (of all, for kSimAnyOperation) since the log was
// cleared, dropped ones included.
int simCallCount(const SimOperationKey& operation);
// Calls since the log was cleared, and those of them the log no longer holds.
uint64_t simLoggedCallCount();
uint64_t simDroppedCallCount();
// Keeps at most the `calls` most recent calls (0: none, only the counts).
void simSetCallLogLimit(size_t calls);

// Records the next frame of the camera's running recording, if one runs,
// and calls the recording callback that drvStartRecording registered, on
// the calling thread; false when none is registered (or it was stopped).
bool simFireRecordEvent(uint32_t cameraId);
// Calls the recording callback that the camera's last drvStartRecording
// registered, with event and detail 0, even after the recording was stopped
// or the camera closed: a driver calling back late. False when the camera
// has not recorded since simReset or the last drvUnload (after which the
// module that registered the callback may be gone).
bool simFireLateRecordEvent(uint32_t cameraId);
// Calls the disk-read callback that drvReadFromDisk registered for the camera.
bool simFireDiskProgress(uint32_t cameraId, uint32_t current, uint32_t final);

bool simDriverLoaded();

// ---- Fault schedules ----------------------------------------------------------
// A schedule makes calls of one operation, or of every one, return a value
// without effect. Each operation has at most one schedule by position, and
// so has kSimAnyOperation; both count every call, and the operation's own
// schedule wins. Schedules by argument come after them.

// The next `skip` calls of the operation pass untouched; the `count` calls
// after them (kSimForever: all) return value without effect. Replaces the
// operation's schedule by position; a count of 0 schedules nothing.
void simForceResultAfter(const SimOperationKey& operation, int skip, uint32_t value, int count = 1);
// The next `count` calls: simForceResultAfter with no skip.
void simForceResult(const SimOperationKey& operation, uint32_t value, int count = 1);

// A failure chosen by the call's arguments: the next `count` calls of the
// operation whose argument `argument` (counted from 0, in the order the log
// lists them) equals `value` return `result` without effect; other calls
// pass. Only the reads of parameter 16: ("drvGetParameter", 2, 16, result).
// Adds to earlier ones.
void simForceResultWhere(const SimOperationKey& operation, size_t argument, uint64_t value, uint32_t result,
                         int count = 1);

void simClearForcedResults();

// Calls answered with a forced result since the last simReset().
uint64_t simForcedCallCount();

// ---- Camera control -----------------------------------------------------------
// Broc records, the time source, and what the timing record holds.

// The default cameras' time sources: one of each kind, and one without.
constexpr SimTimeSource kSimColourTimeSource = SimTimeSource::Gps;
constexpr SimTimeSource kSimMonoTimeSource = SimTimeSource::None;
constexpr SimTimeSource kSimMemoryTimeSource = SimTimeSource::Irig;
constexpr SimTimeSource kSimSegmentedTimeSource = SimTimeSource::Ptp;

// Word `word` (0 to 3) of Broc record `index` of the camera: every camera
// fills its 256 records from this rule.
constexpr uint32_t simBrocWord(uint32_t cameraId, uint32_t index, uint32_t word) {
    return (cameraId << 16) | (index << 2) | word;
}

// Word 0 of a timing record names the source; word 7 stays 0.
constexpr uint32_t kSimTimingIrig = 1;
constexpr uint32_t kSimTimingGps = 2;
constexpr uint32_t kSimTimingPtp = 3;

// Sets the camera's time source; `fixed` is what Fixed reports. False when
// no camera has the id.
bool simSetTimeSource(uint32_t cameraId, SimTimeSource source, const TimingRecord& fixed = {});

// ---- Camera memory: control -----------------------------------------------------

// Sets the memory size and the two rates; false when no camera has the id.
bool simSetMemory(uint32_t cameraId, uint32_t capacity, uint32_t recordingRate, uint32_t diskReadRate);
// Waits until the camera records no more (or the time is up); true when idle.
bool simWaitForRecording(uint32_t cameraId, int timeoutMilliseconds);
// Waits until the camera's disk read has placed its last frame and reported.
bool simWaitForDiskRead(uint32_t cameraId, int timeoutMilliseconds);

#endif
