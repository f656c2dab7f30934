// Test-side view of the in-process host: arrays as the host holds them,
// builders for arguments, a call runner that owns the outputs, and the
// exit hooks a host would run when it unloads the module.
#ifndef QUORVEL_TESTHOST_TESTHOST_H
#define QUORVEL_TESTHOST_TESTHOST_H

#include "mex.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

struct mxArray {
    mxClassID classId = mxDOUBLE_CLASS;
    std::vector<mwSize> dimensions;
    std::vector<unsigned char> bytes;
    bool complex = false;

    size_t elementCount() const;
};

namespace testhost {

// What mexErrMsgIdAndTxt raises: the identifier and the exact text, as the
// host formats it from the module's format and arguments.
struct HostError : std::runtime_error {
    HostError(const std::string& identifier, const std::string& text)
        : std::runtime_error(text), identifier(identifier) {}
    std::string identifier;
};

using Array = std::unique_ptr<mxArray>;

Array scalar(double value);
Array text(const std::string& characters);
Array numeric(mxClassID classId, std::vector<mwSize> dimensions);
Array logical(bool value);
Array emptyDouble();

// A finished call: the outputs the module stored, owned by the test.
struct CallResult {
    std::vector<Array> outputs;

    const mxArray& output(size_t index) const { return *outputs.at(index); }
    uint32_t word(size_t index) const;       // 1x1 uint32 output
    std::string textOutput(size_t index) const;  // char output
};

// Runs mexFunction with the inputs and nlhs output slots. Throws HostError
// when the module raised one; the host then reclaims what the call made.
CallResult call(int nlhs, const std::vector<const mxArray*>& inputs);
CallResult call(int nlhs, const std::vector<Array>& inputs);

// Runs the registered exit hooks, as a host unloading the module does, and
// forgets them.
void unloadModule();
int exitHooksRegistered();

// Text made by mxArrayToString and not yet given back with mxFree.
int keywordTextsOutstanding();
// Keyword texts the host had to reclaim after calls that raised an error;
// a host that does not reclaim them (Octave) would have lost them.
int keywordTextsReclaimedByHost();
// The next mxArrayToString yields nothing, as when memory is short.
void failNextArrayToString();

// Forgets exit hooks and host allocations; the start of a fresh host.
void resetHost();

}  // namespace testhost

#endif
