// "MemorySaveFrames" and "MemorySaveSegments": recorded frames saved from
// camera memory into a multi-page TIFF file. Problems with the file are
// errors naming it, raised once the file is left valid; a frame that fails
// to read ends the save with its status, like the bulk readouts.
#include "gateway/ArgumentChecks.h"
#include "gateway/Handlers.h"
#include "gateway/ModuleVersion.h"

#include <cstdio>
#include <string>

#ifdef QUORVEL_WITH_TIFF
#include "acquisition/saving/FrameSave.h"

namespace {

constexpr uint32_t kModeCount = 3;  // 0 new file, 1 replace, 2 append

[[noreturn]] void raiseSaveError(CommandCall& call, const char* identifier, const std::string& message) {
    releaseTextArguments(call);
    raiseHostError(identifier, message.c_str());
}

void saveCommand(CommandCall& call, SaveAddressing addressing) {
    const char* keyword = call.row->keyword;
    char message[640];
    if (!call.textIsWhole(3)) {
        std::snprintf(message, sizeof message, "%s takes a file name of at most 255 characters and no zero character\n",
                      keyword);
        raiseSaveError(call, kInputValueError, message);
    }
    if (call.scalar(6) >= kModeCount) {
        std::snprintf(message, sizeof message, "%s takes a mode of 0 (new file), 1 (replace) or 2 (append)\n", keyword);
        raiseSaveError(call, kInputValueError, message);
    }
    uint32_t* status = call.wordOutput(0);
    uint32_t* saved = call.wordOutput(1);
    SaveRequest request;
    request.cameraId = call.signedScalar(2);
    request.path = call.text(3);
    request.first = call.whole(4);
    request.count = call.scalar(5);
    request.opening = static_cast<FileOpening>(call.scalar(6));
    request.plannedPages = call.scalar(7);
    request.addressing = addressing;
    request.moduleVersion = kVersionText;
    const SaveResult result = camSaveFrames(request);
    *status = result.status;
    *saved = result.saved;

    const char* file = request.path.c_str();
    const char* reason = result.reason.c_str();
    switch (result.failure) {
        case SaveFailure::None:
            return;
        case SaveFailure::FileExists:
            std::snprintf(message, sizeof message, "The file '%s' exists and is kept: mode 1 replaces it.", file);
            raiseSaveError(call, kFileExistsError, message);
        case SaveFailure::FileOpen:
            std::snprintf(message, sizeof message, "Cannot write the file '%s': %s.", file, reason);
            raiseSaveError(call, kFileOpenError, message);
        case SaveFailure::FileFormat:
            std::snprintf(message, sizeof message, "Cannot add pages to the file '%s': %s.", file, reason);
            raiseSaveError(call, kFileFormatError, message);
        case SaveFailure::FileWrite:
            std::snprintf(message, sizeof message, "Writing the file '%s' failed: %s. It holds every page written before.",
                          file, reason);
            raiseSaveError(call, kFileWriteError, message);
    }
}

}  // namespace

void memorySaveFramesCommand(CommandCall& call) { saveCommand(call, SaveAddressing::ByPosition); }

void memorySaveSegmentsCommand(CommandCall& call) { saveCommand(call, SaveAddressing::BySegment); }

#else

namespace {

[[noreturn]] void raiseLeftOut(CommandCall& call) {
    releaseTextArguments(call);
    raiseHostError(kSavingLeftOutError, "This QuorvelML was built without libtiff: saving to TIFF files is left out.");
}

}  // namespace

void memorySaveFramesCommand(CommandCall& call) { raiseLeftOut(call); }

void memorySaveSegmentsCommand(CommandCall& call) { raiseLeftOut(call); }

#endif
