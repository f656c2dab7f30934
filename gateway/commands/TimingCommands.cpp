// "ReadGPSTiming": the status number and a uint8 column of the requested
// length (the row bounds it) holding the timing text, returned whatever
// the status.
#include "camera/Timing.h"
#include "gateway/Handlers.h"

void readGPSTimingCommand(CommandCall& call) {
    const uint32_t length = call.scalar(3);
    uint32_t* status = call.wordOutput(0);
    const mwSize dimensions[] = {static_cast<mwSize>(length), 1};
    call.plhs[1] = mxCreateNumericArray(2, dimensions, mxUINT8_CLASS, mxREAL);
    auto* column = static_cast<uint8_t*>(mxGetData(call.plhs[1]));
    *status = camReadTiming(call.signedScalar(2), column, length);
}
