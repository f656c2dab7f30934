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
        std::snprintf(message, sizeof message, "%s takes a file name of one row of text with no zero character\n",
                      keyword);
        raiseSaveError(call, kInputValueError, message);
    }
    if (call.whole(6) >= kModeCount) {
        std::snprintf(message, sizeof message, "%s takes a mode of 0 (new file), 1 (replace) or 2 (append)\n", keyword);
        raiseSaveError(call, kInputValueError, message);
    }
    uint32_t* status = call.wordOutput(0);
    uint32_t* saved = call.wordOutput(1);
    SaveRequest request;
    request.cameraId = call.signedScalar(2);
    request.path = call.text(3);
    request.first = call.whole(4);
    request.count = uint32_t(call.whole(5));
    request.opening = static_cast<FileOpening>(call.whole(6));
    request.plannedPages = call.whole(7);
    request.addressing = addressing;
    request.moduleVersion = kVersionText;
    const SaveResult result = camSaveFrames(request);
    *status = result.status;
    *saved = result.saved;

    // The name may be of any length: the messages are built whole.
    const std::string file = "'" + request.path + "'";
    const std::string& reason = result.reason;
    switch (result.failure) {
        case SaveFailure::None:
            return;
        case SaveFailure::FileExists:
            raiseSaveError(call, kFileExistsError, "The file " + file + " exists and is kept: mode 1 replaces it.");
        case SaveFailure::FileOpen:
            raiseSaveError(call, kFileOpenError, "Cannot write the file " + file + ": " + reason + ".");
        case SaveFailure::FileBusy:
            raiseSaveError(call, kFileBusyError, "Cannot write the file " + file + ": " + reason + ".");
        case SaveFailure::FileFormat:
            raiseSaveError(call, kFileFormatError, "Cannot add pages to the file " + file + ": " + reason + ".");
        case SaveFailure::FileWrite:
            raiseSaveError(call, kFileWriteError,
                           "Writing the file " + file + " failed: " + reason + ". It holds every page written before.");
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
