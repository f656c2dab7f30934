#include "HostCalls.h"

#include "common/FrameBuffer.h"

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

bool readWholeArgument(const mxArray* array, uint64_t maximum, uint64_t& value) {
    if (mxIsComplex(array)) return false;  // 1 + 1i is not exactly 1
    if (mxGetClassID(array) == mxUINT64_CLASS || mxGetClassID(array) == mxINT64_CLASS) {
        std::memcpy(&value, mxGetData(array), sizeof value);
        return (mxGetClassID(array) == mxUINT64_CLASS || int64_t(value) >= 0) && value <= maximum;
    }
    constexpr double kTwoTo64 = 18446744073709551616.0;
    const double number = mxGetScalar(array);
    if (!(number >= 0 && number < kTwoTo64 && number == std::trunc(number))) return false;  // NaN fails too
    value = static_cast<uint64_t>(number);
    return value <= maximum;
}

bool isWholeText(const mxArray* array, const char* copy) {
    // A host's text may take more bytes than the array has characters, never fewer.
    return std::strlen(copy) >= mxGetM(array) * mxGetN(array);
}

char* copyTextArgument(const mxArray* array, bool& whole) {
    auto* buffer = static_cast<char*>(allocateModuleBlock(kTextBufferSize));
    if (buffer == nullptr) return nullptr;
    std::memset(buffer, 0, kTextBufferSize);
    const bool cut = mxGetString(array, buffer, static_cast<mwSize>(kTextCopyLength)) != 0;
    // Octave's copy leaves the buffer untouched when the text does not fit;
    // the first 255 characters then come from a full copy.
    if (cut && buffer[0] == '\0') {
        char* full = mxArrayToString(array);
        if (full != nullptr) {
            std::strncpy(buffer, full, kTextCopyLength - 1);
            mxFree(full);
        }
    }
    whole = !cut && isWholeText(array, buffer);
    return buffer;
}

char* copyFileNameArgument(const mxArray* array, bool& whole) {
    char* full = mxArrayToString(array);
    if (full == nullptr) return nullptr;
    const size_t length = std::strlen(full);
    auto* copy = static_cast<char*>(allocateModuleBlock(length + 1));
    if (copy != nullptr) std::memcpy(copy, full, length + 1);
    whole = mxGetM(array) <= 1 && isWholeText(array, full);
    mxFree(full);
    return copy;
}

void releaseTextArgument(char* text) { releaseModuleBlock(text); }

uint32_t* createWordOutput(mxArray** slot) {
    const mwSize dimensions[] = {1, 1};
    *slot = mxCreateNumericArray(2, dimensions, mxUINT32_CLASS, mxREAL);
    return static_cast<uint32_t*>(mxGetData(*slot));
}
