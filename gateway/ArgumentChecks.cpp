#include "ArgumentChecks.h"

#include <cstdio>

namespace {

[[noreturn]] void raiseMemoryError() { raiseHostError(kMemoryError, "Memory allocation failed."); }

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

[[noreturn]] void raiseBoundError(const CommandRow& row) {
    const ValueBound& bound = row.bound;
    char message[80];
    if (bound.message == BoundMessage::FrameCount)
        std::snprintf(message, sizeof message, "%s reads at most %u frames\n", row.keyword, bound.maximum);
    else
        std::snprintf(message, sizeof message, "Input %d must be a length from 0 to %u.", bound.position, bound.maximum);
    raiseHostError(kInputValueError, message);
}

}  // namespace

void checkKeywordGiven(int nrhs) {
    if (nrhs < 1) raiseHostError(kInputCountError, "Invalid number of input arguments.");
}

const CommandRow& resolveKeyword(const mxArray* keywordArray) {
    if (!mxIsChar(keywordArray))
        raiseHostError(kInputKindError, "First input to the ZEL camera interface must be a string.");
    char* keyword = mxArrayToString(keywordArray);
    if (keyword == nullptr) raiseMemoryError();
    const CommandRow* row = isWholeText(keywordArray, keyword) ? findCommand(keyword) : nullptr;
    // Released before the error too: not every host reclaims the text of a
    // command that ends in an error (Octave keeps it for good).
    mxFree(keyword);
    if (row == nullptr) raiseHostError(kUnknownCommandError, "Unrecognized mode for QuorvelML interface.");
    return *row;
}

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
        if (isTextKind(kind)) {
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
        const char kind = row.argumentKinds[position - 2];
        if (!isTextKind(kind)) {
            call.scalars[position] = convertScalar(mxGetScalar(input));
            continue;
        }
        call.texts[position] = kind == 'F' ? copyFileNameArgument(input, call.wholeTexts[position])
                                           : copyTextArgument(input, call.wholeTexts[position]);
        if (call.texts[position] == nullptr) {
            releaseTextArguments(call);
            raiseMemoryError();
        }
    }

    if (nlhs != row.outputCount()) {
        releaseTextArguments(call);
        raiseHostError(kOutputCountError, row.outputCountMessage);
    }

    if (row.bound.position != 0 && call.scalars[row.bound.position] > row.bound.maximum) {
        releaseTextArguments(call);
        raiseBoundError(row);
    }
}
