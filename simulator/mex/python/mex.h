// The few MATLAB array calls the simulator's verb table makes, over plain
// C++ values, so that Python runs the same verbs as the QuorvelSim MEX
// (QuorvelSimPython.cpp turns the values into Python's). Errors are thrown
// as SimVerbRefusal.
#ifndef QUORVEL_SIMULATOR_MEX_PYTHON_MEX_H
#define QUORVEL_SIMULATOR_MEX_PYTHON_MEX_H

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using mwSize = size_t;
enum mxComplexity { mxREAL };

struct mxArray;
using mxArrayOwner = std::unique_ptr<mxArray>;

struct mxArray {
    enum class Kind { Numbers, Text, Logical, Cells, Record } kind = Kind::Numbers;
    size_t rows = 1, columns = 1;
    std::vector<double> numbers;
    std::string text;
    bool logical = false;
    std::vector<mxArrayOwner> cells;
    std::vector<std::pair<std::string, mxArrayOwner>> fields;
};

// What mexErrMsgTxt raises: a verb refused its arguments.
struct SimVerbRefusal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

mxArray* mxCreateDoubleMatrix(mwSize rows, mwSize columns, mxComplexity complexity);
mxArray* mxCreateDoubleScalar(double value);
mxArray* mxCreateLogicalScalar(bool value);
mxArray* mxCreateString(const char* text);
mxArray* mxCreateCellMatrix(mwSize rows, mwSize columns);
mxArray* mxCreateStructMatrix(mwSize rows, mwSize columns, int fieldCount, const char** names);
void mxSetCell(mxArray* cells, size_t index, mxArray* value);
int mxAddField(mxArray* record, const char* name);
void mxSetField(mxArray* record, size_t index, const char* name, mxArray* value);
void* mxGetData(const mxArray* array);
double mxGetScalar(const mxArray* array);
size_t mxGetNumberOfElements(const mxArray* array);
size_t mxGetM(const mxArray* array);
bool mxIsChar(const mxArray* array);
bool mxIsLogical(const mxArray* array);
bool mxIsNumeric(const mxArray* array);
bool mxIsComplex(const mxArray* array);
char* mxArrayToString(const mxArray* array);
void mxFree(void* block);
[[noreturn]] void mexErrMsgTxt(const char* message);
[[noreturn]] void mexErrMsgIdAndTxt(const char* identifier, const char* format, ...);
void mexLock();
void mexUnlock();
bool mexIsLocked();

#endif
