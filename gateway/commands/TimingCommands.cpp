// "ReadGPSTiming": the status number and a uint8 column of the requested
// length (0 to kMaxTimingColumnLength) holding the timing text, returned
// whatever the status.
#include "camera/Timing.h"
#include "gateway/Handlers.h"

#include <cstdio>

void readGPSTimingCommand(CommandCall& call) {
    const int32_t length = call.signedScalar(3);
    if (length < 0 || length > kMaxTimingColumnLength) {
        char message[64];
        std::snprintf(message, sizeof message, "Input 3 must be a length from 0 to %d.", kMaxTimingColumnLength);
        raiseHostError(kInputValueError, message);
    }
    uint32_t* status = call.wordOutput(0);
    const mwSize dimensions[] = {static_cast<mwSize>(length), 1};
    call.plhs[1] = mxCreateNumericArray(2, dimensions, mxUINT8_CLASS, mxREAL);
    auto* column = static_cast<uint8_t*>(mxGetData(call.plhs[1]));
    *status = camReadTiming(call.signedScalar(2), column, static_cast<size_t>(length));
}
