#include "SimVerb.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace {

// "id, capacity [, rate]"
std::string argumentList(const SimVerb& verb) {
    std::string list;
    for (size_t i = 0; i < verb.arguments.size(); ++i)
        list += std::string(i == 0 ? "" : i < verb.required ? ", " : " [, ") + verb.arguments[i].name;
    for (size_t i = std::max<size_t>(verb.required, 1); i < verb.arguments.size(); ++i) list += "]";
    return list;
}

}  // namespace

std::string simVerbUsage(const SimVerb& verb) {
    const std::string list = argumentList(verb);
    return std::string("QuorvelSim('") + verb.name + "'" + (list.empty() ? "" : ", " + list) + ")";
}

void simVerbFail(const char* identifier, const std::string& message) {
    mexErrMsgIdAndTxt(identifier, "%s", message.c_str());
    std::abort();  // the host's error call does not return; its header does not say so
}

SimVerbArguments::SimVerbArguments(const SimVerb& verb, int nrhs, const mxArray** prhs)
    : verb_(verb), given_(size_t(nrhs) - 1), prhs_(prhs + 1) {
    if (given_ < verb.required || given_ > verb.arguments.size()) {
        const std::string list = argumentList(verb);
        simVerbFail(kSimArgumentCount, std::string(verb.name) + " takes " + (list.empty() ? "no arguments" : "(" + list + ")") + "; " +
                    std::to_string(given_) + " given.");
    }
    for (size_t i = 0; i < given_; ++i) {
        const bool number = mxIsNumeric(prhs_[i]) || mxIsLogical(prhs_[i]);
        if (verb.arguments[i].kind == SimArgumentKind::Number && (!number || mxGetNumberOfElements(prhs_[i]) != 1))
            refuse(i, "must be a number");
        if (verb.arguments[i].kind == SimArgumentKind::Number && mxIsComplex(prhs_[i])) refuse(i, "must be real");
        // Beyond this a conversion to an integer is undefined.
        if (verb.arguments[i].kind == SimArgumentKind::Number && !(std::fabs(mxGetScalar(prhs_[i])) < 0x1p63))
            refuse(i, "must be a finite number below 2^63");
        // A text of several rows would be read down its columns.
        if (verb.arguments[i].kind == SimArgumentKind::Text && (!mxIsChar(prhs_[i]) || mxGetM(prhs_[i]) > 1))
            refuse(i, "must be a text of one row");
    }
}

uint32_t SimVerbArguments::whole(size_t index, uint32_t top) const {
    const double value = number(index);
    // A fraction or a value out of range would act on another camera, or
    // on a number the caller did not give.
    if (value != std::floor(value) || value < 0 || value > top)
        refuse(index, "must be a whole number from 0 to " + std::to_string(top));
    return static_cast<uint32_t>(value);
}

int SimVerbArguments::count(size_t index, int absent) const {
    if (!has(index)) return absent;
    const double value = number(index);
    if (value != std::floor(value) || value < -1 || value > INT_MAX)
        refuse(index, "must be -1 (every call) or a whole number from 0 to " + std::to_string(INT_MAX));
    return static_cast<int>(value);
}

std::string SimVerbArguments::text(size_t index) const {
    char* characters = mxArrayToString(prhs_[index]);
    std::string copy = characters != nullptr ? characters : "";
    mxFree(characters);
    return copy;
}

void SimVerbArguments::refuse(size_t index, const std::string& problem) const {
    simVerbFail(kSimBadArgument, std::string(verb_.name) + ": " + verb_.arguments[index].name + " (argument " +
                std::to_string(index + 2) + ") " + problem + ".");
}

void SimVerbArguments::requireCamera(size_t index, bool found) const {
    if (!found) refuse(index, "names no simulated camera: " + std::to_string(word(index)));
}

SimOperationKey SimVerbArguments::operation(size_t index) const {
    const std::string name = text(index);
    try {
        return SimOperationKey(name);
    } catch (const std::invalid_argument&) {
        refuse(index, "names no driver operation: '" + name + "'");
    }
}
