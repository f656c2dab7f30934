// Every check of a call's arguments, each failure raising its exact
// message. First the keyword: that there is one, then its row. Then the
// uniform checks every command runs from its table row, in this order:
// input count, each input by position, output count, the input's bound;
// text buffers are released before any later error.
#ifndef QUORVEL_GATEWAY_ARGUMENTCHECKS_H
#define QUORVEL_GATEWAY_ARGUMENTCHECKS_H

#include "CommandTable.h"

// Raises the error of a call without even a keyword.
void checkKeywordGiven(int nrhs);

// The row of the keyword, compared whole (a zero character inside makes it
// no keyword); raises the error of a keyword that is no text or names no
// command.
const CommandRow& resolveKeyword(const mxArray* keywordArray);

// Checks and converts the call; on return every input is in `call`.
void prepareCommandCall(const CommandRow& row, int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[],
                        CommandCall& call);

void releaseTextArguments(CommandCall& call);

#endif
