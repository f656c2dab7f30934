#include "FrameSave.h"

#include "PageDescription.h"
#include "PageWriter.h"
#include "SavedFiles.h"
#include "acquisition/ChannelOrder.h"
#include "acquisition/Readout.h"
#include "acquisition/ReadoutImage.h"
#include "acquisition/Recording.h"
#include "camera/CameraTable.h"
#include "camera/Parameters.h"

#include <algorithm>
#include <limits>

namespace {

// Room for a page's directory, its tag data and its description, with margin.
constexpr uint64_t kPageOverheadBytes = 4096;
constexpr uint64_t kClassicTiffLimit = uint64_t(1) << 32;

// How much of the frame the readout delivered into the page buffer.
struct PageTarget {
    size_t delivered = 0;

    static void receive(void* context, const unsigned char*, size_t count) {
        static_cast<PageTarget*>(context)->delivered = count;
    }
};

SaveResult failed(SaveFailure failure, const TiffPageFile& file) {
    SaveResult result;
    result.failure = failure;
    result.reason = file.error();
    return result;
}

PageFormat pageFormatOf(const ReadoutImage& image) {
    PageFormat format;
    format.width = image.width;
    format.height = image.height;
    format.samplesPerPixel = image.shape.samplesPerPixel;
    format.bitsPerSample = image.shape.bytesPerSample * 8;
    return format;
}

// Reads frame k of the request into the page buffer.
ResultCode readFrame(const SaveRequest& request, const ReadoutImage& image, uint32_t k, unsigned char* page,
                     PageTarget& target) {
    ReadoutDestination destination = image.destination({PageTarget::receive, &target});
    destination.staging = page;  // the driver writes the frame where its page is written from
    const uint64_t number = request.first + k;
    if (request.addressing == SaveAddressing::ByPosition)
        return camReadMemory(request.cameraId, uint32_t(number), uint32_t(number >> 32), destination,
                             image.shape.layoutCode, 0, ReadoutAddressing::ByPosition);
    if (number > std::numeric_limits<uint32_t>::max()) return ResultReadFailed;  // no such segment number
    return camReadMemory(request.cameraId, 0, 0, destination, image.shape.layoutCode, uint32_t(number));
}

PageOrigin originOf(const SaveRequest& request, uint32_t k, bool triggerKnown, uint32_t trigger) {
    PageOrigin origin;
    const uint64_t number = request.first + k;
    if (request.addressing == SaveAddressing::BySegment) {
        origin.segment = number;
        return origin;
    }
    origin.position = number;
    if (triggerKnown) origin.triggerIndex = int64_t(number - trigger);
    return origin;
}

FileOrigin fileOriginOf(const SaveRequest& request, const ReadoutImage& image) {
    FileOrigin file;
    file.cameraId = request.cameraId;
    camGetCameraInfo(request.cameraId, 0, &file.cameraType);
    file.width = image.width;
    file.height = image.height;
    file.pixelFormat = image.pixelFormat;
    file.moduleVersion = request.moduleVersion;
    file.savedAt = utcTimeNow();
    return file;
}

}  // namespace

bool needsBigTiff(uint64_t pages, size_t pageBytes) {
    // Strips of whole rows hold at least half kStripBytes, or one row; each
    // has an offset and a byte count in the directory.
    const uint64_t stripEntries = 16 * (2 * uint64_t(pageBytes) / kStripBytes + 1);
    const uint64_t perPage = uint64_t(pageBytes) + kPageOverheadBytes + stripEntries;
    return pages > 0 && perPage > (kClassicTiffLimit - kPageOverheadBytes) / pages;
}

SaveResult camSaveFrames(const SaveRequest& request) {
    if (findOpenCamera(request.cameraId) == nullptr) {
        SaveResult result;
        result.status = ResultReadFailed;
        return result;
    }
    TiffPageFile file;
    if (!file.openFile(request.path, request.opening)) {
        const OpenRefusal why = file.refusal();
        return failed(why == OpenRefusal::Exists ? SaveFailure::FileExists
                      : why == OpenRefusal::Busy ? SaveFailure::FileBusy
                                                 : SaveFailure::FileOpen,
                      file);
    }
    const ReadoutImage image = readoutImageOf(request.cameraId);
    const PageFormat format = pageFormatOf(image);
    uint64_t knownPage = 0;
    const SavedFileState saved = request.opening == FileOpening::Append
                                     ? savedFileState(request.cameraId, request.path, format, knownPage)
                                     : SavedFileState::NotSaving;
    if (saved == SavedFileState::Changed) {
        forgetSavedFile(request.cameraId);  // the save ends here
        SaveResult result;
        result.failure = SaveFailure::FileBusy;
        result.reason = "another save replaced it or added to it since this camera's save wrote it";
        return result;
    }

    SaveResult result;
    if (request.count == 0) return result;
    if (!image.shapeKnown() || image.frameBytes() == 0) {
        // No page can be made of a frame whose size is unknown, empty or
        // beyond what memory can address.
        result.status = ResultParameterReadFailed;
        return result;
    }
    uint32_t trigger = 0, unused = 0;
    const bool triggerKnown = camReadTriggerPosition(request.cameraId, &trigger, &unused) == ResultOk;
    const bool creating = request.opening != FileOpening::Append;
    const uint64_t planned = std::max<uint64_t>(request.plannedPages, request.count);
    if (!file.begin(format, needsBigTiff(planned, image.frameBytes()), saved == SavedFileState::AsLeft,
                    knownPage))
        return failed(creating ? SaveFailure::FileWrite : SaveFailure::FileFormat, file);

    PageWriter writer(file);
    if (!writer.start(image.shape, image.width, image.height, readoutFrameBound(image.width, image.height))) {
        result.status = ResultOutOfMemory;
        return result;
    }
    for (uint32_t k = 0; k < request.count; ++k) {
        unsigned char* page = writer.takeBuffer();
        if (page == nullptr) break;  // a write failed
        PageTarget target;
        const ResultCode code = readFrame(request, image, k, page, target);
        if (code != ResultOk) {
            writer.giveBack(page);
            result.status = code;
            break;
        }
        putInPlaneOrder(image.shape, page, target.delivered);
        FileOrigin fileOrigin;
        const bool firstPage = creating && k == 0;
        if (firstPage) fileOrigin = fileOriginOf(request, image);
        writer.submit(page, target.delivered,
                      pageDescription(originOf(request, k, triggerKnown, trigger), firstPage ? &fileOrigin : nullptr));
    }
    writer.finish();
    file.close();
    result.saved = uint32_t(file.pagesWritten());
    if (file.failed()) {
        result.failure = file.refusal() == OpenRefusal::Busy ? SaveFailure::FileBusy : SaveFailure::FileWrite;
        result.reason = file.error();
    }
    // A save planned past this call goes on by appending to the file as
    // this call left it; one that ended here is forgotten.
    if (creating) forgetSavedFile(request.cameraId);
    if (result.status == ResultOk && result.failure == SaveFailure::None && result.saved > 0)
        noteSavedFile(request.cameraId, request.path, file.leftAs(), format, file.chainFrom(),
                      result.saved, request.plannedPages);
    else
        forgetSavedFile(request.cameraId);
    return result;
}
