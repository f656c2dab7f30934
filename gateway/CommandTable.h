// The keyword table: one row per command with everything the uniform
// checks need, so handlers hold only what is particular to them.
#ifndef QUORVEL_GATEWAY_COMMANDTABLE_H
#define QUORVEL_GATEWAY_COMMANDTABLE_H

#include "CommandCall.h"

#include <cstddef>

struct CommandRow {
    const char* keyword;
    const char* inputCountMessage;
    const char* argumentKinds;  // from input 2 on: 'S' scalar, 'T' text
    int outputCount;
    const char* outputCountMessage;
    CommandHandler handler;

    int inputCount() const;  // the keyword included
};

constexpr size_t kCommandCount = 32;

extern const CommandRow kCommandTable[kCommandCount];

// The row whose keyword equals the text byte for byte, or nullptr.
const CommandRow* findCommand(const char* keyword);

#endif
