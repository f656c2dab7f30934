// The floor of the whole-path benchmark: what any MEX file has to do to hand
// Octave image arrays, and nothing more. It creates the outputs a command
// returns and fills the images by memcpy from a buffer prepared once.
//
//   [status, image...,  word...] = QuorvelFloor(classId, dimensions, images)
//
// Output 1 is a 1x1 uint32; the next `images` outputs are arrays of the
// class number (9 uint8, 11 uint16) and dimension row given; any further
// outputs are 1x1 uint32.
#include "mex.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

std::vector<unsigned char> prepared;

mxArray* filledArray(mwSize dimensionCount, const mwSize* dimensions, mxClassID classId) {
    mxArray* array = mxCreateUninitNumericArray(dimensionCount, dimensions, classId, mxREAL);
    const size_t bytes = mxGetNumberOfElements(array) * mxGetElementSize(array);
    if (prepared.size() < bytes) prepared.assign(bytes, 0x5A);
    std::memcpy(mxGetData(array), prepared.data(), bytes);
    return array;
}

}  // namespace

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    if (nrhs != 3) mexErrMsgTxt("QuorvelFloor(classId, dimensions, images)");
    const auto classId = static_cast<mxClassID>(mxGetScalar(prhs[0]));
    const double* given = mxGetPr(prhs[1]);
    std::vector<mwSize> dimensions(given, given + mxGetNumberOfElements(prhs[1]));
    const int images = static_cast<int>(mxGetScalar(prhs[2]));
    const mwSize one[] = {1, 1};
    for (int k = 0; k < nlhs || k == 0; ++k) {
        const bool image = k >= 1 && k <= images;
        plhs[k] = image ? filledArray(mwSize(dimensions.size()), dimensions.data(), classId)
                        : mxCreateNumericArray(2, one, mxUINT32_CLASS, mxREAL);
    }
}
