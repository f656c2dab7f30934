// Commands whose camera operations are not built yet: they run their full
// checks, then say plainly that they are not available.
#include "ArgumentChecks.h"
#include "Handlers.h"

#include <string>

namespace {

void notAvailableYet(CommandCall& call) {
    releaseTextArguments(call);
    std::string message = std::string("The command \"") + call.row->keyword +
                          "\" is not available yet in this build of QuorvelML.";
    raiseHostError(message.c_str());
}

}  // namespace

void getCameraInfoCommand(CommandCall& call) { notAvailableYet(call); }
void getParameterCommand(CommandCall& call) { notAvailableYet(call); }
void setParameterCommand(CommandCall& call) { notAvailableYet(call); }
void grabIsReadyCommand(CommandCall& call) { notAvailableYet(call); }
void getBrocParametersCommand(CommandCall& call) { notAvailableYet(call); }
void synchGrabCommand(CommandCall& call) { notAvailableYet(call); }
void memoryPreviewCommand(CommandCall& call) { notAvailableYet(call); }
void memoryStartGrabCommand(CommandCall& call) { notAvailableYet(call); }
void memoryStopGrabCommand(CommandCall& call) { notAvailableYet(call); }
void memoryReadDataCommand(CommandCall& call) { notAvailableYet(call); }
void memoryReadTriggerPositionCommand(CommandCall& call) { notAvailableYet(call); }
void calibrateNoiseReductionCommand(CommandCall& call) { notAvailableYet(call); }
void sendCfgCommand(CommandCall& call) { notAvailableYet(call); }
void triggerCommand(CommandCall& call) { notAvailableYet(call); }
void readGPSTimingCommand(CommandCall& call) { notAvailableYet(call); }
void resetCommand(CommandCall& call) { notAvailableYet(call); }
void enableDiagnosticTraceCommand(CommandCall& call) { notAvailableYet(call); }
void eraseMemoryCommand(CommandCall& call) { notAvailableYet(call); }
void memoryDownloadRawFrameCommand(CommandCall& call) { notAvailableYet(call); }
void memoryReadFromDiskCommand(CommandCall& call) { notAvailableYet(call); }
