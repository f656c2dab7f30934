// What a finished call may look like: the host error the checks must raise
// for the inputs given, worked out independently of the module's checking
// code, and outputs of the kinds and values the command's row names.
#ifndef QUORVEL_FUZZ_CALLCONTRACT_H
#define QUORVEL_FUZZ_CALLCONTRACT_H

#include "TestHost.h"
#include "gateway/CommandTable.h"

#include <string>
#include <vector>

// A numeric input of one element, and the 32-bit value MATLAB code means by
// it: worked out here rather than by the module, whose conversion the
// contract checks.
bool isScalarInput(const mxArray& array);
uint32_t argumentWord(const mxArray& array);

bool isBulkReadout(const std::string& keyword);

// "MemorySaveFrames" or "MemorySaveSegments": they write the file their
// text names, and may raise a QuorvelML:file* error for it.
bool isSave(const std::string& keyword);

// Aborts with the message and the call's description.
[[noreturn]] void contractBroken(const std::string& what, const std::string& call);

// The message the checks must raise for this call, or "" when they pass:
// input count, each input by position, output count, then the bound the
// row gives an input (a negative number is past it), then saving's own
// checks of its file name and mode.
std::string expectedCheckError(const CommandRow& row, int nlhs, const std::vector<const mxArray*>& inputs);

// What the module and the driver looked like just before the call.
struct CallContext {
    const CommandRow* row;
    std::vector<const mxArray*> inputs;
    bool cameraOpen;        // input 2 named a registered camera
    uint64_t driverCalls;   // calls the simulator had logged
    std::string description;
};

// Checks the outputs of a call that raised no error; aborts on a breach.
void checkOutputs(const CallContext& context, const testhost::CallResult& result);

// Checks the camera table after any call: no key twice among taken slots.
void checkCameraTable(const std::string& description);

#endif
