// The keyword table: one row per command with everything the uniform
// checks need, so handlers hold only what is particular to them, and what
// a caller may expect back: the kinds of the outputs, the values output 1
// may hold, and the answer for a camera id that no open camera holds.
#ifndef QUORVEL_GATEWAY_COMMANDTABLE_H
#define QUORVEL_GATEWAY_COMMANDTABLE_H

#include "CommandCall.h"
#include "common/ResultCodes.h"

#include <cstddef>
#include <cstdint>

// Whether input 2 names an open camera, and output 1 when no open camera
// has that id: the command then reaches no driver, allocates no frame and
// leaves every other output zero or empty.
struct CameraArgument {
    bool named;
    ResultCode notOpenStatus;
};

constexpr CameraArgument kNoCameraArgument{false, ResultOk};

constexpr CameraArgument namesOpenCamera(ResultCode notOpenStatus) { return {true, notOpenStatus}; }

// The values output 1 may hold, one bit per value.
template <typename... Values>
constexpr uint32_t answerSet(Values... values) {
    return (0u | ... | (1u << values));
}

// Output 1 of the discovery commands: a 0/1 flag, not a status number.
constexpr uint32_t kFlagAnswers = 0b11;

constexpr int kindCount(const char* kinds) {
    int count = 0;
    while (kinds[count] != '\0') ++count;
    return count;
}

// The largest value a scalar input takes, checked after the output count:
// past it (the input's low 32 bits, as the handler reads them, above the
// maximum; a negative number is past any bound) raises QuorvelML:inputValue
// with the bound's message. Saving checks its file name and mode itself,
// since a module without libtiff answers that saving is left out first.
enum class BoundMessage {
    None,
    FrameCount,  // "<keyword> reads at most <maximum> frames\n"
    Length,      // "Input <position> must be a length from 0 to <maximum>."
};

struct ValueBound {
    int position;  // the input bounded; 0 for none
    uint32_t maximum;
    BoundMessage message;
};

constexpr ValueBound kNoBound{0, 0, BoundMessage::None};

constexpr ValueBound atMostFrames(int position, uint32_t maximum) {
    return {position, maximum, BoundMessage::FrameCount};
}

constexpr ValueBound lengthUpTo(int position, uint32_t maximum) { return {position, maximum, BoundMessage::Length}; }

// The largest value of a whole-number kind.
constexpr uint64_t wholeKindMaximum(char kind) { return kind == 'P' ? UINT64_MAX : UINT32_MAX; }
constexpr bool isWholeKind(char kind) { return kind == 'P' || kind == 'N'; }
constexpr bool isTextKind(char kind) { return kind == 'T' || kind == 'F'; }

struct CommandRow {
    const char* keyword;
    const char* inputCountMessage;
    // From input 2 on: 'S' scalar, 'T' text (255 characters kept), 'F' a
    // file name of any length; scalars that must name a whole number, kept
    // whole: 'P' a readout position (0 to 2^64 - 1), 'N' a 32-bit number
    // (0 to 2^32 - 1).
    const char* argumentKinds;
    const char* argumentNames;  // one name per kind, ", " between, for tab completion
    // From output 1 on: 'W' 1x1 uint32, 'T' text, 'L' 1-by-n uint32 list,
    // 'G' live image, 'I' recorded image, 'K' stack of recorded images,
    // 'C' uint8 column.
    const char* outputKinds;
    const char* outputCountMessage;
    CameraArgument camera;
    uint32_t answers;  // answerSet() of output 1; 0 when it is no number
    CommandHandler handler;
    ValueBound bound = kNoBound;

    constexpr int inputCount() const { return 1 + kindCount(argumentKinds); }  // the keyword included
    constexpr int outputCount() const { return kindCount(outputKinds); }
    constexpr bool mayAnswer(uint32_t value) const { return value < 32 && (answers >> value & 1u) != 0; }
};

constexpr size_t kCommandCount = 39;

extern const CommandRow kCommandTable[kCommandCount];

// The row whose keyword equals the text byte for byte, or nullptr.
const CommandRow* findCommand(const char* keyword);

#endif
