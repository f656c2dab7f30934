// The uniform checks every command runs from its table row, in this order:
// input count, each input by position, output count. Each failure raises
// its exact message; text buffers are released before any later error.
#ifndef QUORVEL_GATEWAY_ARGUMENTCHECKS_H
#define QUORVEL_GATEWAY_ARGUMENTCHECKS_H

#include "CommandTable.h"

// Checks and converts the call; on return every input is in `call`.
void prepareCommandCall(const CommandRow& row, int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[],
                        CommandCall& call);

void releaseTextArguments(CommandCall& call);

#endif
