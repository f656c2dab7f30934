// The module's few wrappers around the host API: raising an error, reading
// scalars and texts, and making the outputs. The error identifiers are
// listed in ErrorIdentifierList.h. Message texts live where they are
// raised: every argument error's in ArgumentChecks.cpp, but the count
// messages, which are each command's own, in its CommandTable.cpp row;
// saving's in commands/SaveCommands.cpp (a module without libtiff refuses
// saving before it checks the save's arguments); the driver's load
// failure in mexFunction.cpp.
#ifndef QUORVEL_GATEWAY_HOSTCALLS_H
#define QUORVEL_GATEWAY_HOSTCALLS_H

#include "mex.h"

#include <cstddef>
#include <cstdint>

constexpr size_t kTextBufferSize = 257;
constexpr size_t kTextCopyLength = 256;  // at most 255 characters and the zero

#define QUORVEL_CALL_ERROR(name, identifier, note) constexpr const char* k##name##Error = identifier;
#define QUORVEL_SAVE_ERROR(name, identifier) constexpr const char* k##name##Error = identifier;
#include "ErrorIdentifierList.h"
#undef QUORVEL_SAVE_ERROR
#undef QUORVEL_CALL_ERROR

// Raises a MATLAB error with the identifier and the text; never returns.
[[noreturn]] void raiseHostError(const char* identifier, const char* message);

// The double truncated toward zero to 64 bits, of which the low 32 bits are
// kept; NaN and magnitudes of 2^63 or more give 0.
uint32_t convertScalar(double value);

bool isScalarArgument(const mxArray* array);

// A scalar argument as the whole number from 0 to `maximum` it names, read
// exactly (64-bit integers are not passed through a double); false for a
// fraction, a complex number, a negative number, NaN or a number past the
// maximum.
bool readWholeArgument(const mxArray* array, uint64_t maximum, uint64_t& value);

// A heap copy of the text argument in a kTextBufferSize buffer, cut at 255
// characters; nullptr when the buffer cannot be had. Release with
// releaseTextArgument(). `whole` tells whether the copy holds every
// character: false for a text cut at 255 characters or at a zero character.
char* copyTextArgument(const mxArray* array, bool& whole);
// A heap copy of a file name of any length, as the system takes one;
// `whole` is false for a zero character inside or more than one row.
char* copyFileNameArgument(const mxArray* array, bool& whole);
void releaseTextArgument(char* text);

// True when the zero-terminated copy of the character array holds all of its
// characters, so that no zero character inside the array cut it short.
bool isWholeText(const mxArray* array, const char* copy);

// A zero-filled real 1x1 uint32 array; returns its word.
uint32_t* createWordOutput(mxArray** slot);

#endif
