// "MemoryStartGrab", "MemoryStopGrab", "GrabIsReady", "FrameReadyCount",
// "MemoryReadTriggerPosition".
#include "acquisition/Recording.h"
#include "gateway/Handlers.h"

void memoryStartGrabCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    *status = camStartGrab(call.signedScalar(2), call.scalar(3), call.scalar(4), call.scalar(5), call.scalar(6));
}

void memoryStopGrabCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    *status = camStopGrab(call.signedScalar(2));
}

void grabIsReadyCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    uint32_t* ready = call.wordOutput(1);
    *status = camGrabIsReady(call.signedScalar(2), ready);
}

void frameReadyCountCommand(CommandCall& call) {
    *call.wordOutput(0) = ResultOk;
    *call.wordOutput(1) = camFrameReadyCount(call.signedScalar(2));
}

void memoryReadTriggerPositionCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    uint32_t* first = call.wordOutput(1);
    uint32_t* second = call.wordOutput(2);
    *status = camReadTriggerPosition(call.signedScalar(2), first, second);
}
