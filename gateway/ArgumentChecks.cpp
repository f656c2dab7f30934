#include "ArgumentChecks.h"

#include <cstdio>

namespace {

[[noreturn]] void raiseInputError(int position, const char* kind) {
    char message[40];
    std::snprintf(message, sizeof message, "Input %d must be a %s.", position, kind);
    raiseHostError(kInputKindError, message);
}

[[noreturn]] void raiseWholeNumberError(int position, uint64_t maximum) {
    char message[80];
    std::snprintf(message, sizeof message, "Input %d must be a whole number from 0 to %llu.", position,
                  static_cast<unsigned long long>(maximum));
    raiseHostError(kInputValueError, message);
}

}  // namespace

void releaseTextArguments(CommandCall& call) {
    for (char*& text : call.texts) {
        releaseTextArgument(text);
        text = nullptr;
    }
}

void prepareCommandCall(const CommandRow& row, int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[],
                        CommandCall& call) {
    if (nrhs != row.inputCount()) raiseHostError(kInputCountError, row.inputCountMessage);

    for (int position = 2; position <= nrhs; ++position) {
        const mxArray* input = prhs[position - 1];
        const char kind = row.argumentKinds[position - 2];
        if (kind == 'T') {
            if (!mxIsChar(input)) raiseInputError(position, "string");
        } else if (!isScalarArgument(input)) {
            raiseInputError(position, "scalar");
        } else if (isWholeKind(kind) && !readWholeArgument(input, wholeKindMaximum(kind), call.wholes[position])) {
            raiseWholeNumberError(position, wholeKindMaximum(kind));
        }
    }

    call.row = &row;
    call.plhs = plhs;
    for (int position = 2; position <= nrhs; ++position) {
        const mxArray* input = prhs[position - 1];
        if (row.argumentKinds[position - 2] != 'T') {
            call.scalars[position] = convertScalar(mxGetScalar(input));
            continue;
        }
        call.texts[position] = copyTextArgument(input, call.wholeTexts[position]);
        if (call.texts[position] == nullptr) {
            releaseTextArguments(call);
            raiseHostError(kMemoryError, "Memory allocation failed.");
        }
    }

    if (nlhs != row.outputCount()) {
        releaseTextArguments(call);
        raiseHostError(kOutputCountError, row.outputCountMessage);
    }
}
