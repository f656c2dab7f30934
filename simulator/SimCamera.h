// The simulated camera's record: what it is, what the driver keeps of it
// while it runs, what it was asked to do and what tests make it do, with
// the default cameras and the values every simulated camera starts with.
#ifndef QUORVEL_SIMULATOR_SIMCAMERA_H
#define QUORVEL_SIMULATOR_SIMCAMERA_H

#include "driver/QuorvelDrv.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// ---- The default cameras ------------------------------------------------------
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

// ---- Camera memory ------------------------------------------------------------
// Every camera has a memory of memoryCapacity frames, filled at
// recordingRate and read back from disk at diskReadRate (QuorvelSim.h).
constexpr uint32_t kSimMemoryFrames = 256;
constexpr uint32_t kSimRecordingRate = 500;   // frames per second
constexpr uint32_t kSimDiskReadRate = 1000;   // frames per second

// ---- Broc records and the time source -------------------------------------------

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
// The default cameras, in enumeration order.
std::vector<SimCamera> simDefaultCameras();

// The value of the camera's parameter; 0 when it has none.
uint32_t simParameterValue(const SimCamera& camera, uint32_t parameter);
// The camera's information item 0.
uint32_t simCameraType(const SimCamera& camera);

#endif
