// "CalibrateNoiseReduction", "Trigger", "Reset", "EraseMemory",
// "EnableDiagnosticTrace": output 1 is the service's status number.
#include "camera/Services.h"
#include "gateway/Handlers.h"

void calibrateNoiseReductionCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    *status = camCalibrateNoiseReduction(call.signedScalar(2), call.scalar(3));
}

void triggerCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    *status = camTrigger(call.signedScalar(2));
}

void resetCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    *status = camReset(call.signedScalar(2));
}

void eraseMemoryCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    *status = camEraseMemory(call.signedScalar(2));
}

// The gateway releases the text buffer once this returns.
void enableDiagnosticTraceCommand(CommandCall& call) {
    uint32_t* status = call.wordOutput(0);
    *status = camEnableDiagnosticTrace(call.signedScalar(2), call.text(3), call.scalar(4));
}
