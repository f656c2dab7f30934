// A verb of the QuorvelSim MEX: its row of the verb table (SimVerbTable.h)
// and how its arguments are read and refused.
#ifndef QUORVEL_SIMULATOR_MEX_SIMVERB_H
#define QUORVEL_SIMULATOR_MEX_SIMVERB_H

#include "mex.h"
#include "QuorvelSim.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class SimArgumentKind { Number, Text };

struct SimArgument {
    const char* name;
    SimArgumentKind kind = SimArgumentKind::Number;
};

// The part of the help a verb is listed under.
enum class SimVerbTopic { Cameras, Memory, Failures, CallLog, Lifetime };

class SimVerbArguments;
using SimVerbHandler = mxArray* (*)(const SimVerbArguments&);

struct SimVerb {
    const char* name;
    std::vector<SimArgument> arguments;  // in order
    size_t required;                     // the first `required` must be given
    SimVerbTopic topic;
    const char* summary;                 // what it does, in one line; "-> ..." what it answers
    SimVerbHandler run;
};

// "QuorvelSim('setMemory', id, capacity, framesPerSecond [, diskFramesPerSecond])"
std::string simVerbUsage(const SimVerb& verb);

// The control's error identifiers: every refusal carries one.
constexpr const char* kSimUnknownVerb = "QuorvelSim:unknownVerb";
constexpr const char* kSimArgumentCount = "QuorvelSim:argumentCount";
constexpr const char* kSimBadArgument = "QuorvelSim:badArgument";

[[noreturn]] void simVerbFail(const char* identifier, const std::string& message);

// The verb's arguments, counted from 0 after the verb; every error names
// the argument, by name and by its position in the call.
class SimVerbArguments {
public:
    SimVerbArguments(const SimVerb& verb, int nrhs, const mxArray** prhs);

    bool has(size_t index) const { return index < given_; }
    double number(size_t index) const { return mxGetScalar(prhs_[index]); }
    // A whole number from 0 to 2^32 - 1, else refused.
    uint32_t word(size_t index) const { return whole(index, UINT32_MAX); }
    // A whole number from 0 to top, else refused.
    uint32_t whole(size_t index, uint32_t top) const;
    uint32_t whole(size_t index, uint32_t top, uint32_t absent) const { return has(index) ? whole(index, top) : absent; }
    // A count of forced calls: -1 (every one) or a whole number from 0.
    int count(size_t index, int absent) const;
    std::string text(size_t index) const;

    [[noreturn]] void refuse(size_t index, const std::string& problem) const;
    void requireCamera(size_t index, bool found) const;
    SimOperationKey operation(size_t index) const;

private:
    const SimVerb& verb_;
    size_t given_;
    const mxArray** prhs_;
};

#endif
