/* The C interface of the camera driver library QuorvelDrv.
 *
 * Every operation returns 0 for success and a non-zero value for failure;
 * only 3 from drvSetParameter (value rejected) has a meaning of its own.
 * Numbers are 32-bit words; buffers, records and callback contexts are
 * native pointers. A handle is the DeviceHandle that drvOpenCamera or
 * drvOpenRawCamera returned. Texts are NUL-terminated, at most 255
 * characters, and lent to the driver for the duration of the call only.
 *
 * Callbacks run on the driver's own threads, never on the caller's.
 */
#ifndef QUORVEL_DRV_H
#define QUORVEL_DRV_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#define QUORVEL_STATIC_ASSERT(condition, message) static_assert(condition, message)
#else
#define QUORVEL_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

#if defined(_WIN32)
#define QUORVEL_DRV_API __declspec(dllimport)
#elif defined(QUORVEL_DRV_BUILDING)
#define QUORVEL_DRV_API __attribute__((visibility("default")))
#else
#define QUORVEL_DRV_API
#endif

typedef uint32_t DeviceHandle;

/* Exported by the simulated driver only, never by a real one: a module
 * tells which it runs on by looking this name up in the loaded library. */
#define QUORVEL_SIMULATOR_MARKER "quorvelSimulatedDriver"

/* One record per camera found by drvEnumCameras. */
typedef struct CameraEnumRecord {
    uint32_t reserved0;
    uint32_t cameraId;      /* byte 4: the camera identifier */
    uint8_t reserved8[28];
    uint32_t inUse;         /* byte 36: non-zero when the camera is already open */
    uint8_t reserved40[316];
} CameraEnumRecord;
QUORVEL_STATIC_ASSERT(sizeof(CameraEnumRecord) == 356, "enumeration records are 356 bytes");

/* Buffer descriptor of a live grab. The caller fills buffer, byteSize and
 * frameCount; the driver may rewrite byteSize and sets both status words. */
typedef struct TransferDescriptor {
    void* buffer;
    uint32_t byteSize;
    uint32_t frameCount;
    uint32_t reserved;
    uint32_t status1;
    uint32_t status2;
    uint32_t reservedTail[3];
} TransferDescriptor;

/* Timing record of drvReadTiming; year 0 means no external time source. */
typedef struct TimingRecord {
    uint32_t word0;
    int32_t year;
    int32_t dayOfYear;
    int32_t hours;
    int32_t minutes;
    int32_t seconds;
    uint32_t microseconds;
    uint32_t word7;
} TimingRecord;
QUORVEL_STATIC_ASSERT(sizeof(TimingRecord) == 32, "timing records are eight words");

typedef struct BrocParameterRecord {
    uint32_t words[4];
} BrocParameterRecord;

enum {
    kBrocTableRecords = 256,
    kSettingsBlockBytes = 1024,
    kSegmentTableEntries = 16352
};

/* Recording callback: the context given to drvStartRecording, then two
 * words the module does not interpret. */
typedef uint32_t (*RecordingCallback)(void* context, uint32_t event, uint32_t detail);
/* Disk-read callback: the context given to drvReadFromDisk, the current
 * and the final count of the read. */
typedef uint32_t (*DiskReadCallback)(void* context, uint32_t current, uint32_t final);

/* Every operation with the ordinal by which a Windows build imports it. */
#define QUORVEL_DRV_OPERATIONS(X) \
    X(drvLoad, 2)                 \
    X(drvUnload, 3)               \
    X(drvEnumCameras, 4)          \
    X(drvOpenCamera, 5)           \
    X(drvCloseCamera, 6)          \
    X(drvGetCameraInfo, 7)        \
    X(drvLoadSettings, 8)         \
    X(drvLoadSettingsEx, 9)       \
    X(drvSendSettings, 10)        \
    X(drvPrepareSettings, 12)     \
    X(drvGetParameterLimit, 13)   \
    X(drvGetParameter, 14)        \
    X(drvSetParameter, 15)        \
    X(drvGrabFrames, 16)          \
    X(drvStopCapture, 18)         \
    X(drvStartRecording, 19)      \
    X(drvStopRecording, 20)       \
    X(drvReadMemory, 21)          \
    X(drvReadTriggerPosition, 22) \
    X(drvCalibrateNoiseReduction, 24) \
    X(drvTrigger, 25)             \
    X(drvReadTiming, 26)          \
    X(drvReset, 27)               \
    X(drvEnableTrace, 28)         \
    X(drvGrabPreview, 29)         \
    X(drvDownloadRawFrame, 33)    \
    X(drvConfigure, 36)           \
    X(drvEraseMemory, 44)         \
    X(drvReadSegmentTable, 48)    \
    X(drvPreLoad, 49)             \
    X(drvGetBrocParameters, 62)   \
    X(drvOpenRawCamera, 67)       \
    X(drvReadFromDisk, 68)

/* drvConfigure options */
enum { kConfigureNetworkAddress = 1, kConfigurePCIeMemory = 10 };

QUORVEL_DRV_API uint32_t drvLoad(uint32_t zero);
QUORVEL_DRV_API uint32_t drvUnload(void);
QUORVEL_DRV_API uint32_t drvPreLoad(uint32_t first, uint32_t second, uint32_t third);
QUORVEL_DRV_API uint32_t drvConfigure(uint32_t zero, uint32_t option, uint32_t value, uint32_t reserved);
QUORVEL_DRV_API uint32_t drvEnumCameras(CameraEnumRecord* records, uint32_t* count, uint32_t filter);
QUORVEL_DRV_API uint32_t drvOpenCamera(uint32_t cameraId, DeviceHandle* handle);
QUORVEL_DRV_API uint32_t drvOpenRawCamera(const char* text, DeviceHandle* handle);
QUORVEL_DRV_API uint32_t drvCloseCamera(DeviceHandle handle);
QUORVEL_DRV_API uint32_t drvStopCapture(DeviceHandle handle);
QUORVEL_DRV_API uint32_t drvTrigger(DeviceHandle handle);
QUORVEL_DRV_API uint32_t drvReset(DeviceHandle handle);
QUORVEL_DRV_API uint32_t drvEraseMemory(DeviceHandle handle);
QUORVEL_DRV_API uint32_t drvLoadSettings(DeviceHandle handle, void* settings);
QUORVEL_DRV_API uint32_t drvLoadSettingsEx(DeviceHandle handle, void* settings);
QUORVEL_DRV_API uint32_t drvPrepareSettings(DeviceHandle handle, void* settings);
QUORVEL_DRV_API uint32_t drvSendSettings(DeviceHandle handle, void* settings);
QUORVEL_DRV_API uint32_t drvGetCameraInfo(DeviceHandle handle, uint32_t item, uint32_t* value, uint32_t* aux);
QUORVEL_DRV_API uint32_t drvGetParameter(DeviceHandle handle, void* settings, uint32_t parameter, uint32_t* value);
QUORVEL_DRV_API uint32_t drvGetParameterLimit(DeviceHandle handle, void* settings, uint32_t parameter,
                                              uint32_t selector, uint32_t* limit);
QUORVEL_DRV_API uint32_t drvSetParameter(DeviceHandle handle, void* settings, uint32_t parameter, uint32_t value);
QUORVEL_DRV_API uint32_t drvGrabFrames(DeviceHandle handle, TransferDescriptor* transfer, uint32_t argument);
QUORVEL_DRV_API uint32_t drvGrabPreview(DeviceHandle handle, TransferDescriptor* transfer, uint32_t* previewValue);
QUORVEL_DRV_API uint32_t drvStartRecording(DeviceHandle handle, uint32_t first, uint32_t second, uint32_t segmentArgument,
                                           uint32_t fourth, RecordingCallback callback, uint32_t one, void* context);
QUORVEL_DRV_API uint32_t drvStopRecording(DeviceHandle handle, uint32_t* word);
QUORVEL_DRV_API uint32_t drvReadMemory(DeviceHandle handle, uint64_t position, uint32_t index, void* destination);
QUORVEL_DRV_API uint32_t drvReadSegmentTable(DeviceHandle handle, uint32_t zero, uint32_t entries, uint64_t* table);
QUORVEL_DRV_API uint32_t drvReadTriggerPosition(DeviceHandle handle, uint32_t* aux1, uint32_t* aux2, uint32_t* first,
                                                uint32_t* second);
QUORVEL_DRV_API uint32_t drvReadTiming(DeviceHandle handle, uint32_t zero, TimingRecord* record);
QUORVEL_DRV_API uint32_t drvGetBrocParameters(DeviceHandle handle, BrocParameterRecord* table, uint32_t count);
QUORVEL_DRV_API uint32_t drvCalibrateNoiseReduction(DeviceHandle handle, uint32_t value, uint32_t zero1, uint32_t zero2);
QUORVEL_DRV_API uint32_t drvEnableTrace(DeviceHandle handle, const char* text, uint32_t value);
QUORVEL_DRV_API uint32_t drvDownloadRawFrame(DeviceHandle handle, const char* text, uint32_t first, uint32_t second,
                                             uint32_t third, uint32_t fourth, uint32_t fifth);
QUORVEL_DRV_API uint32_t drvReadFromDisk(DeviceHandle handle, uint32_t first, uint32_t second, uint32_t third,
                                         uint32_t fourth, uint32_t fifth, uint32_t sixth, DiskReadCallback callback,
                                         void* context);

#ifdef __cplusplus
}
#endif

#endif
