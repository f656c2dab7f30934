// "MemoryDownloadRawFrame", "MemoryReadFromDisk", "DiskReadProgress".
#include "acquisition/Transfers.h"
#include "common/NonRegularFile.h"
#include "gateway/ArgumentChecks.h"
#include "gateway/Handlers.h"
#include "gateway/HostCalls.h"

#include <string>

namespace {

// Inputs 4 to 8, in order.
TransferNumbers numbersFrom(const CommandCall& call) {
    TransferNumbers numbers = {};
    for (int i = 0; i < 5; ++i) numbers.values[i] = call.scalar(4 + i);
    return numbers;
}

}  // namespace

void memoryDownloadRawFrameCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    // A file name cut short would name another file: it never reaches the driver.
    if (!call.textIsWhole(3)) {
        *status = ResultDownloadFailed;
        return;
    }
    // A FIFO nobody reads would block the driver's open past any Ctrl-C.
    if (namesNonRegularFile(call.text(3))) {
        const std::string message = "MemoryDownloadRawFrame: '" + std::string(call.text(3)) +
                                    "' exists and is not a regular file; the raw frame is written to files only.";
        releaseTextArguments(call);
        raiseHostError(kFileOpenError, message.c_str());
    }
    *status = camDownloadRawFrame(call.signedScalar(2), call.text(3), numbersFrom(call));
}

void memoryReadFromDiskCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    *status = camReadFromDisk(call.signedScalar(2), call.scalar(3), numbersFrom(call));
}

void diskReadProgressCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    uint32_t* finishedReports = call.wordOutput(1);
    uint32_t* current = call.wordOutput(2);
    uint32_t* final = call.wordOutput(3);
    DiskReadProgress progress;
    *status = camDiskReadProgress(call.signedScalar(2), progress);
    *finishedReports = progress.finishedReports;
    *current = progress.current;
    *final = progress.final;
}
