// The extension module quorvel._core: the Python host's calls into the
// core, each in the core without the GIL (CoreCalls.h). It converts
// arguments and results only; the package (quorvel/) checks the arguments
// and turns a status into QuorvelError.
#include "CoreCalls.h"
#include "FrameArrays.h"
#include "acquisition/ChannelOrder.h"
#include "acquisition/HostMemory.h"
#include "acquisition/HostSession.h"
#include "acquisition/LiveImage.h"
#include "acquisition/ReadoutImage.h"
#include "acquisition/Recording.h"
#include "camera/Attachment.h"
#include "camera/Connections.h"
#include "camera/DriverLibrary.h"
#include "camera/Discovery.h"
#include "camera/Parameters.h"

#ifdef QUORVEL_WITH_TIFF
#include "acquisition/saving/FrameSave.h"
#endif

#include <pybind11/stl.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace py = pybind11;

// Camera ids come and go as the enumeration lists them, unsigned 32-bit
// numbers; the core keys a camera by the same 32 bits, signed.
namespace {

// This handle's open ended: the camera was closed, or opened again by another.
struct HandleClosedError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Throws HandleClosedError unless the camera is open under the serial the handle holds.
void requireHeld(uint32_t cameraId, uint32_t serial) {
    if (serial == 0 || camOpenSerial(cameraId) != serial)
        throw HandleClosedError("camera " + std::to_string(cameraId) + ": this handle is closed");
}

// What a handle holds: its camera, nothing (closed), or a camera the
// driver no longer has, which is let go here so that it can be opened again.
enum Hold : uint32_t { Held = 0, Closed = 1, Lost = 2 };

Hold holdOf(uint32_t cameraId, uint32_t serial) {
    if (serial == 0 || camOpenSerial(cameraId) != serial) return Closed;
    return camCheckAttached(cameraId) ? Held : Lost;
}

template <typename Work>
auto heldCall(uint32_t cameraId, uint32_t serial, Work work) {
    return inCore([&] {
        requireHeld(cameraId, serial);
        return work();
    });
}

py::dict statusTable() {
    py::dict table;
#define QUORVEL_RESULT(number, name, meaning) table[py::int_(number)] = py::make_tuple(#name, meaning);
#include "common/ResultCodeList.h"
#undef QUORVEL_RESULT
    return table;
}

py::tuple listCameras(uint32_t filter) {
    CameraEnumRecord records[kEnumCapacity] = {};
    uint32_t count = kEnumCapacity;
    const ResultCode code = inCore([&] { return camEnumCameras(records, &count, filter); });
    std::vector<uint32_t> ids;
    for (uint32_t i = 0; code == ResultOk && i < count && i < kEnumCapacity; ++i) ids.push_back(records[i].cameraId);
    return py::make_tuple(uint32_t(code), ids);
}

py::tuple driverInfo() {
    const DriverLibrary library = inCore([] { return describeDriverLibrary(); });
    return py::make_tuple(library.path, library.simulated);
}

// Opens the camera unless a handle holds it already (then answers held
// True; one the driver lost is let go and opened afresh); an open that
// fails but left the camera registered closes it again.
py::tuple openCamera(uint32_t cameraId) {
    struct Opened {
        uint32_t status = 0;
        int32_t id = 0;
        uint32_t serial = 0;
        bool held = false;
    };
    const Opened opened = inCore([&] {
        Opened result;
        result.id = cameraId;
        if (cameraId != 0 && camOpenSerial(cameraId) != 0 && camCheckAttached(cameraId)) {
            result.held = true;
            return result;
        }
        result.status = camOpenCamera(&result.id);
        if (result.status == ResultSettingsLoadFailed) camCloseCamera(result.id);
        if (result.status == ResultOk) result.serial = camOpenSerial(result.id);
        return result;
    });
    return py::make_tuple(opened.status, uint32_t(opened.id), opened.serial, opened.held);
}

uint32_t closeCamera(uint32_t cameraId, uint32_t serial) {
    return inCore([&]() -> uint32_t {
        if (serial == 0 || camOpenSerial(cameraId) != serial) return ResultOk;  // closed already
        return camCloseCamera(cameraId);
    });
}

uint32_t handleHold(uint32_t cameraId, uint32_t serial) {
    return inCore([&] { return holdOf(cameraId, serial); });
}

py::tuple getParameter(uint32_t cameraId, uint32_t serial, uint32_t number) {
    uint32_t value = 0, limit0 = 0, limit1 = 0;
    const ResultCode code =
        heldCall(cameraId, serial, [&] { return camGetParameter(cameraId, number, &value, &limit0, &limit1); });
    return py::make_tuple(uint32_t(code), value, limit0, limit1);
}

uint32_t setParameter(uint32_t cameraId, uint32_t serial, uint32_t number, uint32_t value) {
    return heldCall(cameraId, serial, [&] { return camSetParameter(cameraId, number, value); });
}

py::tuple cameraInfo(uint32_t cameraId, uint32_t serial, uint32_t item) {
    uint32_t value = 0;
    const ResultCode code = heldCall(cameraId, serial, [&] { return camGetCameraInfo(cameraId, item, &value); });
    return py::make_tuple(uint32_t(code), value);
}

uint32_t checkPixelFormat(uint32_t cameraId, uint32_t serial, uint32_t format) {
    return heldCall(cameraId, serial, [&] { return camCheckPixelFormat(cameraId, format); });
}

uint32_t startRecording(uint32_t cameraId, uint32_t serial, uint32_t frames, uint32_t trigger, uint32_t segments,
                        uint32_t interval) {
    return heldCall(cameraId, serial, [&] { return camStartGrab(cameraId, frames, trigger, segments, interval); });
}

uint32_t stopRecording(uint32_t cameraId, uint32_t serial) {
    return heldCall(cameraId, serial, [&] { return camStopGrab(cameraId); });
}

py::tuple triggerPosition(uint32_t cameraId, uint32_t serial) {
    uint32_t first = 0, second = 0;
    const ResultCode code = heldCall(cameraId, serial, [&] { return camReadTriggerPosition(cameraId, &first, &second); });
    return py::make_tuple(uint32_t(code), first, second);
}

uint32_t frameReadyCount(uint32_t cameraId, uint32_t serial) {
    return heldCall(cameraId, serial, [&] { return camFrameReadyCount(cameraId); });
}

// A wait limit past this many seconds (Inf among them) is no limit: the
// clock's end would overflow.
constexpr double kUnlimitedWaitSeconds = 1e9;

// Waits until the camera has made `reports` frame-ready reports or the
// seconds have passed, the GIL given up throughout and the core lock taken
// only to look; a signal's handler (Ctrl-C) runs meanwhile, and what it
// raises ends the wait. The driver is asked once a second whether it still
// has the camera. Answers whether they arrived, the count last seen, and
// the handle's hold.
py::tuple waitForReports(uint32_t cameraId, uint32_t serial, uint64_t reports, double seconds) {
    using Clock = std::chrono::steady_clock;
    const bool limited = seconds < kUnlimitedWaitSeconds;
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                        std::chrono::duration<double>(limited ? seconds : 0.0));
    auto nextLook = Clock::now() + std::chrono::seconds(1);
    uint32_t count = 0;
    for (;;) {
        count = frameReadyCount(cameraId, serial);
        if (count >= reports) return py::make_tuple(true, count, uint32_t(Held));
        const bool late = limited && Clock::now() >= end;
        if (late || Clock::now() >= nextLook) {
            nextLook = Clock::now() + std::chrono::seconds(1);
            const uint32_t hold = handleHold(cameraId, serial);
            if (late || hold != Held) return py::make_tuple(false, count, hold);
        }
        if (PyErr_CheckSignals() != 0) throw py::error_already_set();
        withoutGil([] {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return true;
        });
    }
}

// A grab whose frame the driver writes into the memory of the array that
// is handed out: the array's block is the grab's frame buffer. Where that
// buffer would hold far more than the frame (extra frames), the frame is
// copied out of a scratch buffer instead, so that an image does not keep
// several frames' memory alive.
struct LiveGrabInPlace {
    size_t frameBytes;
    FrameShape shape;
    FrameBlock image;
    FrameBlock scratch;
    bool filled = false;
};

unsigned char* takeLiveBuffer(void* context, size_t bytes) {
    auto* grab = static_cast<LiveGrabInPlace*>(context);
    const bool inPlace = bytes <= 2 * grab->frameBytes;
    grab->image = allocateFrameBlock(inPlace ? std::max(bytes, grab->frameBytes) : grab->frameBytes);
    if (grab->image.data == nullptr) return nullptr;
    if (inPlace) return static_cast<unsigned char*>(grab->image.data);
    grab->scratch = allocateFrameBlock(bytes);
    return static_cast<unsigned char*>(grab->scratch.data);
}

// The grabbed frame in its array: zeros past what the driver delivered,
// colour reversed in place.
void finishLiveFrame(void* context, const unsigned char* frame, size_t count) {
    auto* grab = static_cast<LiveGrabInPlace*>(context);
    auto* image = static_cast<unsigned char*>(grab->image.data);
    const size_t taken = std::min(count, grab->frameBytes);
    if (frame != image) std::memcpy(image, frame, taken);
    std::memset(image + taken, 0, grab->frameBytes - taken);
    putInPlaneOrder(grab->shape, image, grab->frameBytes);
    grab->filled = true;
}

py::tuple grab(uint32_t cameraId, uint32_t serial, uint32_t argument) {
    LiveImage image;
    LiveGrabInPlace grabbed{};
    const ResultCode code = heldCall(cameraId, serial, [&] {
        image = liveImageOf(cameraId);
        // two images, as the MATLAB side's grab asks, so that both answer alike
        if (!imagesFitHost(image.shape, image.width, image.height, 2)) return ResultOutOfMemory;
        grabbed.frameBytes = image.frameBytes();
        grabbed.shape = image.shape;
        LiveImages request = image.request();
        request.bufferSource = {takeLiveBuffer, &grabbed};
        const ResultCode result = camSynchGrab(cameraId, {finishLiveFrame, &grabbed}, {}, request, argument);
        releaseFrameBlock(grabbed.scratch);
        if (result != ResultOk)
            releaseFrameBlock(grabbed.image);  // a failed grab raises: its image is never seen
        else if (!grabbed.filled)
            std::memset(grabbed.image.data, 0, grabbed.frameBytes);
        return result;
    });
    if (grabbed.image.data == nullptr) return py::make_tuple(uint32_t(code), py::none());
    return py::make_tuple(uint32_t(code), arrayOverBlock(grabbed.image, image.shape, image.width, image.height, 1, false));
}

// What a bulk read gives back: the status, the frames read, and the stack
// (a fresh array, or `out`), of which the first `read` frames are complete.
py::tuple readRecorded(uint32_t cameraId, uint32_t serial, const std::vector<uint64_t>& numbers, bool bySegment,
                       py::object out) {
    const BulkAddressing addressing = bySegment ? BulkAddressing::BySegment : BulkAddressing::ByPosition;
    StackMemory given;
    std::vector<py::ssize_t> outShape;
    // The sample type out holds, as the frames': another (signed, swapped,
    // object pointers) would take the driver's bytes as something else.
    bool outHoldsUInt8 = false, outHoldsUInt16 = false;
    if (!out.is_none()) {
        auto array = py::reinterpret_borrow<py::array>(out);
        given.data = static_cast<unsigned char*>(array.mutable_data());
        given.capacity = size_t(array.nbytes());
        outShape.assign(array.shape(), array.shape() + array.ndim());
        outHoldsUInt8 = array.dtype().equal(py::dtype::of<uint8_t>());
        outHoldsUInt16 = array.dtype().equal(py::dtype::of<uint16_t>());
    }
    ReadoutImage image;
    FrameBlock block;
    uint32_t read = 0;
    bool outFits = true;
    const ResultCode code = heldCall(cameraId, serial, [&] {
        image = readoutImageOf(cameraId);
        if (!imagesFitHost(image.shape, image.width, image.height, numbers.size())) return ResultOutOfMemory;
        StackMemory memory = given;
        if (memory.data == nullptr) {
            block = allocateFrameBlock(freshStackBytes(image, numbers.size()));
            if (block.data == nullptr) return ResultOutOfMemory;
            memory = {static_cast<unsigned char*>(block.data), block.bytes};
        } else if (outShape != arrayShape(image.shape, image.width, image.height, numbers.size(), true) ||
                   !(image.shape.sampleType == SampleType::UInt16 ? outHoldsUInt16 : outHoldsUInt8)) {
            outFits = false;
            return ResultOk;
        }
        return readIntoStack(cameraId, numbers, addressing, image, memory, &read);
    });
    FrameShape shape = image.shape;
    const py::tuple frameShape = py::cast(arrayShape(shape, image.width, image.height, 1, false));
    const char* sampleType = shape.sampleType == SampleType::UInt16 ? "uint16" : "uint8";
    if (!outFits) return py::make_tuple(py::none(), 0, py::none(), frameShape, sampleType);
    if (block.data != nullptr && read < numbers.size()) {
        // Only the first `read` frames are handed out, but the array under
        // them is the whole block: what was never read is zeros, not what
        // the heap held before.
        const size_t kept = size_t(read) * image.frameBytes();
        std::memset(static_cast<unsigned char*>(block.data) + kept, 0, block.bytes - kept);
    }
    py::object frames = out;
    if (out.is_none())
        frames = block.data != nullptr ? py::object(arrayOverBlock(block, shape, image.width, image.height, numbers.size(), true))
                                       : py::none();
    return py::make_tuple(uint32_t(code), read, frames, frameShape, sampleType);
}

#ifdef QUORVEL_WITH_TIFF
py::tuple saveRecorded(uint32_t cameraId, uint32_t serial, const std::string& path, uint64_t first, uint32_t count,
                       uint32_t opening, uint64_t plannedPages, bool bySegment) {
    SaveRequest request;
    request.cameraId = cameraId;
    request.path = path;
    request.first = first;
    request.count = count;
    request.opening = static_cast<FileOpening>(opening);
    request.plannedPages = plannedPages;
    request.addressing = bySegment ? SaveAddressing::BySegment : SaveAddressing::ByPosition;
    request.moduleVersion = QUORVEL_VERSION_TEXT;
    const SaveResult result = heldCall(cameraId, serial, [&] { return camSaveFrames(request); });
    return py::make_tuple(uint32_t(result.status), result.saved, int(result.failure), result.reason);
}
#endif

// Closes every camera and gives the driver back: at interpreter exit, or
// when a test asks for a fresh start. Nothing in a forked child.
void closeEverything() {
    try {
        inCore([] {
            camCloseEveryCamera();
            return true;
        });
    } catch (const std::runtime_error&) {
        // a forked child, or a driver that never loaded: nothing of its own to close
    }
}

}  // namespace

PYBIND11_MODULE(_core, m) {
    m.doc() = "The cameras' core calls; use the package quorvel, not this module.";
    guardForks();
    auto& forked = py::register_exception<ForkedProcessError>(m, "ForkedProcessError", PyExc_RuntimeError);
    (void)forked;
    py::register_exception<DriverLoadError>(m, "DriverLoadError", PyExc_RuntimeError);
    py::register_exception_translator([](std::exception_ptr pending) {
        try {
            if (pending) std::rethrow_exception(pending);
        } catch (const HandleClosedError& closed) {
            PyErr_SetString(PyExc_ValueError, closed.what());
        }
    });
    m.def("status_table", &statusTable);
    m.def("list_cameras", &listCameras);
    m.def("driver_info", &driverInfo);
    m.def("open_camera", &openCamera);
    m.def("close_camera", &closeCamera);
    m.def("handle_hold", &handleHold);
    m.def("get_parameter", &getParameter);
    m.def("set_parameter", &setParameter);
    m.def("camera_info", &cameraInfo);
    m.def("check_pixel_format", &checkPixelFormat);
    m.def("start_recording", &startRecording);
    m.def("stop_recording", &stopRecording);
    m.def("trigger_position", &triggerPosition);
    m.def("frame_ready_count", &frameReadyCount);
    m.def("wait_for_reports", &waitForReports);
    m.def("grab", &grab);
    m.def("read_recorded", &readRecorded);
#ifdef QUORVEL_WITH_TIFF
    m.def("save_recorded", &saveRecorded);
#endif
    m.def("close_everything", &closeEverything);
    m.attr("bulk_read_limit") = kBulkReadFrameLimit;
    // For the simulator's control (quorvel._sim), whose verbs run in the core too.
    m.attr("_core_entry") = py::capsule(reinterpret_cast<void*>(CoreEntry(&runInCore)), "quorvel.core_entry");
}
