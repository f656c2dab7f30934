// The MATLAB values the QuorvelSim verbs answer: logicals, numbers, rows
// and the records of a camera, its memory, the defaults and the call log.
#ifndef QUORVEL_SIMULATOR_MEX_SIMVERBVALUES_H
#define QUORVEL_SIMULATOR_MEX_SIMVERBVALUES_H

#include "mex.h"
#include "QuorvelSim.h"

#include <optional>
#include <string>
#include <vector>

mxArray* simLogicalValue(bool value);
mxArray* simNumberValue(double value);

template <typename Number>
mxArray* simNumberRow(const std::vector<Number>& numbers) {
    mxArray* row = mxCreateDoubleMatrix(1, numbers.size(), mxREAL);
    double* values = static_cast<double*>(mxGetData(row));
    for (size_t i = 0; i < numbers.size(); ++i) values[i] = static_cast<double>(numbers[i]);
    return row;
}

// A time source by the name the verbs use: none, irig, gps, ptp, fixed.
const char* simTimeSourceName(SimTimeSource source);
std::optional<SimTimeSource> simTimeSourceNamed(const std::string& name);

// Column of the calls as the log describes them, oldest first.
mxArray* simCallLogValue();
// The camera's counters and state.
mxArray* simCameraRecord(const SimCamera& camera);
// The camera's memory: capacity, rates, frames, segments and state.
mxArray* simMemoryRecord(const SimCamera& camera);
// The default cameras' values, parameters as [value limit0 limit1].
mxArray* simDefaultsRecord();

#endif
