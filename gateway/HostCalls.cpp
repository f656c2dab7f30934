#include "HostCalls.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

void raiseHostError(const char* identifier, const char* message) {
    mexErrMsgIdAndTxt(identifier, "%s", message);
    std::abort();  // the host's error call does not return
}

uint32_t convertScalar(double value) {
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (std::isnan(value) || std::fabs(value) >= kTwoTo63) return 0;
    return static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(value)));
}

bool isScalarArgument(const mxArray* array) {
    return mxGetM(array) * mxGetN(array) == 1 && mxIsNumeric(array);
}

char* copyTextArgument(const mxArray* array) {
    char* buffer = static_cast<char*>(std::calloc(kTextBufferSize, 1));
    if (buffer == nullptr) return nullptr;
    // Octave's copy leaves the buffer untouched when the text does not fit;
    // the first 255 characters then come from a full copy.
    if (mxGetString(array, buffer, static_cast<mwSize>(kTextCopyLength)) != 0 && buffer[0] == '\0') {
        char* full = mxArrayToString(array);
        if (full != nullptr) {
            std::strncpy(buffer, full, kTextCopyLength - 1);
            mxFree(full);
        }
    }
    return buffer;
}

uint32_t* createWordOutput(mxArray** slot) {
    const mwSize dimensions[] = {1, 1};
    *slot = mxCreateNumericArray(2, dimensions, mxUINT32_CLASS, mxREAL);
    return static_cast<uint32_t*>(mxGetData(*slot));
}
