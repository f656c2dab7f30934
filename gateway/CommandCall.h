// One command call after the uniform checks: the converted inputs by
// position and the output slots. Handlers read their arguments from here.
#ifndef QUORVEL_GATEWAY_COMMANDCALL_H
#define QUORVEL_GATEWAY_COMMANDCALL_H

#include "HostCalls.h"

#include <cstdint>

struct CommandRow;

constexpr int kMaxInputs = 8;  // the keyword and up to seven arguments

struct CommandCall {
    const CommandRow* row = nullptr;
    mxArray** plhs = nullptr;
    uint32_t scalars[kMaxInputs + 1] = {};  // by input position, 2 on
    uint64_t wholes[kMaxInputs + 1] = {};   // by input position, the whole-number kinds
    char* texts[kMaxInputs + 1] = {};       // by input position, 2 on
    bool wholeTexts[kMaxInputs + 1] = {};   // the text arrived uncut

    uint32_t scalar(int position) const { return scalars[position]; }
    int32_t signedScalar(int position) const { return static_cast<int32_t>(scalars[position]); }
    uint64_t whole(int position) const { return wholes[position]; }
    const char* text(int position) const { return texts[position]; }
    // False when the text was cut at 255 characters or at a zero character.
    bool textIsWhole(int position) const { return wholeTexts[position]; }

    // Creates the zero 1x1 uint32 output at index (0 is output 1).
    uint32_t* wordOutput(int index) const { return createWordOutput(&plhs[index]); }
};

using CommandHandler = void (*)(CommandCall& call);

#endif
