// QuorvelSim: the simulator's control API for Octave and MATLAB scripts,
// one verb per row of the verb table (SimVerbTable.h).
#include "mex.h"
#include "SimVerbTable.h"

#include <string>

namespace {

mxArray* verbList() {
    const std::vector<SimVerb>& verbs = simVerbTable();
    mxArray* cells = mxCreateCellMatrix(verbs.size(), 1);
    for (size_t i = 0; i < verbs.size(); ++i) mxSetCell(cells, i, mxCreateString(simVerbUsage(verbs[i]).c_str()));
    return cells;
}

}  // namespace

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    (void)nlhs;
    if (nrhs < 1 || !mxIsChar(prhs[0])) simVerbFail(kSimUnknownVerb, "the first argument names a verb; QuorvelSim('help') lists them.");
    char* characters = mxArrayToString(prhs[0]);
    const std::string name = characters != nullptr ? characters : "";
    mxFree(characters);
    if (name == "help") {
        plhs[0] = verbList();
        return;
    }
    for (const SimVerb& verb : simVerbTable()) {
        if (name != verb.name) continue;
        mxArray* result = verb.run(SimVerbArguments(verb, nrhs, prhs));
        if (result != nullptr) plhs[0] = result;
        return;
    }
    simVerbFail(kSimUnknownVerb, "no verb is named '" + name + "'; QuorvelSim('help') lists them.");
}
