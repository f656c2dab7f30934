// The in-process test host: the subset of the MATLAB/Octave mx and mex API
// that the module uses, with the class numbers and signatures of the real
// hosts. mexErrMsgIdAndTxt throws testhost::HostError so tests can read the
// identifier and the text.
#ifndef QUORVEL_TESTHOST_MEX_H
#define QUORVEL_TESTHOST_MEX_H

#include <cstddef>
#include <cstdint>

typedef int64_t mwSize;

typedef enum {
    mxUNKNOWN_CLASS = 0,
    mxCELL_CLASS,
    mxSTRUCT_CLASS,
    mxLOGICAL_CLASS,
    mxCHAR_CLASS,
    mxVOID_CLASS,
    mxDOUBLE_CLASS,
    mxSINGLE_CLASS,
    mxINT8_CLASS,
    mxUINT8_CLASS,
    mxINT16_CLASS,
    mxUINT16_CLASS,
    mxINT32_CLASS,
    mxUINT32_CLASS,
    mxINT64_CLASS,
    mxUINT64_CLASS,
    mxFUNCTION_CLASS
} mxClassID;

typedef enum { mxREAL = 0, mxCOMPLEX = 1 } mxComplexity;

struct mxArray;

constexpr unsigned char kUninitialisedByte = 0xA5;

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);

void mexErrMsgIdAndTxt(const char* identifier, const char* format, ...);
int mexAtExit(void (*function)(void));
bool mxIsChar(const mxArray* array);
bool mxIsNumeric(const mxArray* array);
bool mxIsComplex(const mxArray* array);
mxClassID mxGetClassID(const mxArray* array);
size_t mxGetM(const mxArray* array);
size_t mxGetN(const mxArray* array);
double mxGetScalar(const mxArray* array);
void* mxGetData(const mxArray* array);
int mxGetString(const mxArray* array, char* buffer, mwSize length);
char* mxArrayToString(const mxArray* array);
void mxFree(void* pointer);
mxArray* mxCreateNumericArray(mwSize dimensionCount, const mwSize* dimensions, mxClassID classId,
                              mxComplexity complexity);
// Its bytes are not zeroed; this host fills them with kUninitialisedByte so
// that tests see any byte the module leaves unwritten.
mxArray* mxCreateUninitNumericArray(mwSize dimensionCount, const mwSize* dimensions, mxClassID classId,
                                    mxComplexity complexity);
// Changes the dimensions of a numeric array; like the real hosts, keeps the
// data's first elements.
int mxSetDimensions(mxArray* array, const mwSize* dimensions, mwSize dimensionCount);
mxArray* mxCreateString(const char* text);

#endif
