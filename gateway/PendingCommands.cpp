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

void synchGrabCommand(CommandCall& call) { notAvailableYet(call); }
void memoryPreviewCommand(CommandCall& call) { notAvailableYet(call); }
void memoryReadDataCommand(CommandCall& call) { notAvailableYet(call); }
