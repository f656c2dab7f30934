// libFuzzer target over mexFunction on the in-process host. Each input
// decodes into a short session: calls with mostly valid, sometimes mangled
// keywords and arguments of any kind, size and value, interleaved with
// simulator fault schedules and driver callbacks. Every call must end in
// the host error the checks owe it, in one of the module's own messages,
// or with outputs of the documented classes and sizes.
#include "CallContract.h"
#include "FuzzInput.h"
#include "QuorvelSim.h"
#include "TestHost.h"
#include "acquisition/HostSession.h"
#include "camera/CameraTable.h"
#include "gateway/ModuleState.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>

namespace {

constexpr int kMaxSteps = 24;

const char* const kOperations[] = {
#define QUORVEL_OPERATION_NAME(name, ordinal) #name,
    QUORVEL_DRV_OPERATIONS(QUORVEL_OPERATION_NAME)
#undef QUORVEL_OPERATION_NAME
    kSimAnyOperation,
};
constexpr uint32_t kOperationCount = sizeof kOperations / sizeof kOperations[0];

const uint32_t kCameraIds[] = {0, kSimColourCameraId, kSimMonoCameraId, kSimMemoryCameraId, kSimSegmentedCameraId};

// Values worth hitting: camera ids, parameter and item numbers, the edges
// of the conversion, and what MATLAB code gets wrong.
const double kInterestingValues[] = {
    0, 1, 2, 3, 7, 11, 12, 15, 16, 24, 35, 255, 256, 1001, 1002, 1003, 1004, 16351, 16352, -1, -2.5, 3.9, 1e300,
    -1e300, 4294967295.0, 4294967296.0 + 5, 9223372036854775808.0, -9223372036854775808.0,
    std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
    -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::denorm_min()};

const uint32_t kForcedValues[] = {0, 1, 2, 3, 5, 0xFFFFFFFFu};

struct Session {
    bool arrayToStringFails = false;  // the next keyword text cannot be made
};

double pickScalarValue(FuzzInput& in) {
    switch (in.below(4)) {
        case 0: return kCameraIds[in.below(5)];
        case 1: return in.anyDouble();
        default: return kInterestingValues[in.below(sizeof kInterestingValues / sizeof(double))];
    }
}

std::string pickText(FuzzInput& in) {
    switch (in.below(5)) {
        case 0: return "";
        case 1: return "192.168.1.10";
        case 2: return std::string(250 + in.below(60), char('0' + in.below(10)));
        case 3: return "raw:" + in.bytes(in.below(8));
        default: return in.bytes(in.below(40));
    }
}

testhost::Array makeArgument(FuzzInput& in, char kind) {
    // Mostly the kind the position wants; otherwise anything a user may pass.
    uint32_t choice = in.below(16);
    if (choice < 11) return isTextKind(kind) ? testhost::text(pickText(in)) : testhost::scalar(pickScalarValue(in));
    switch (choice) {
        case 11: return testhost::text(pickText(in));
        case 12: return testhost::scalar(pickScalarValue(in));
        case 13: return testhost::emptyDouble();
        case 14: return testhost::logical(in.byte() & 1);
        default: {
            static const mxClassID classes[] = {mxDOUBLE_CLASS, mxSINGLE_CLASS, mxINT8_CLASS,   mxUINT8_CLASS,
                                                mxINT16_CLASS,  mxUINT32_CLASS, mxINT64_CLASS,  mxUINT64_CLASS,
                                                mxCHAR_CLASS,   mxLOGICAL_CLASS, mxCELL_CLASS};
            std::vector<mwSize> shape{mwSize(in.below(3)), mwSize(in.below(3))};
            if (in.below(4) == 0) shape.push_back(mwSize(in.below(3)));
            testhost::Array array = testhost::numeric(classes[in.below(11)], shape);
            for (unsigned char& byte : array->bytes) byte = in.byte();
            array->complex = in.below(8) == 0;
            return array;
        }
    }
}

std::string mangle(FuzzInput& in, std::string keyword) {
    switch (in.below(5)) {
        case 0: keyword[in.below(uint32_t(keyword.size()))] ^= 0x20; break;  // letter case
        case 1: keyword += ' '; break;
        case 2: keyword.resize(in.below(uint32_t(keyword.size()))); break;
        case 3: keyword.insert(0, 1, char(in.byte())); break;
        default: keyword = in.bytes(in.below(30)); break;
    }
    return keyword;
}

std::string describeCall(int nlhs, const std::vector<const mxArray*>& inputs) {
    std::string text = "nlhs " + std::to_string(nlhs) + ", inputs:";
    for (const mxArray* input : inputs) {
        text += " [class " + std::to_string(input->classId) + " dims";
        for (mwSize dimension : input->dimensions) text += " " + std::to_string(dimension);
        if (input->classId == mxCHAR_CLASS) text += " '" + std::string(input->bytes.begin(), input->bytes.end()) + "'";
        else if (input->elementCount() == 1) text += " value " + std::to_string(mxGetScalar(input));
        if (input->complex) text += " complex";
        text += "]";
    }
    return text;
}

// Whether input 2 names a camera the module holds as open, the id read as
// MATLAB code means it.
bool inputNamesOpenCamera(const std::vector<const mxArray*>& inputs) {
    if (!driverIsLoaded() || inputs.size() < 2 || !isScalarInput(*inputs[1])) return false;
    return findOpenCamera(int32_t(argumentWord(*inputs[1]))) != nullptr;
}

// Figures for the run's report, printed when the fuzzer exits, and the
// run's scratch folder, removed then.
struct RunFigures {
    uint64_t calls = 0;
    uint64_t faultsInjected = 0;
    std::string scratch;  // made on first use

    ~RunFigures() {
        std::error_code ignored;
        if (!scratch.empty()) std::filesystem::remove_all(scratch, ignored);
        std::fprintf(stderr, "quorvel_fuzz: %llu calls, %llu driver faults injected\n",
                     static_cast<unsigned long long>(calls), static_cast<unsigned long long>(faultsInjected));
    }
} gFigures;

const std::string& scratchFolder() {
    if (gFigures.scratch.empty()) {
        char name[] = "/tmp/quorvel_fuzz.XXXXXX";
        if (mkdtemp(name) != nullptr) gFigures.scratch = name;
    }
    return gFigures.scratch;
}

// A file name in the scratch folder, of about the length given.
// A name in the run's scratch folder as long as the text given (up to 300
// characters), holding a zero character where the text held one.
std::string scratchFile(const std::string& text) {
    std::string name = scratchFolder() + "/f" + std::string(std::min<size_t>(text.size(), 300), 'x');
    if (text.find('\0') != std::string::npos) name += std::string(1, '\0') + "tail";
    return name;
}

void runCall(FuzzInput& in, Session& session) {
    const CommandRow& row = kCommandTable[in.below(kCommandCount)];
    std::vector<testhost::Array> inputs;

    uint32_t shape = in.below(20);
    if (shape == 0) {
        // no inputs at all
    } else if (shape == 1) {
        inputs.push_back(makeArgument(in, 'S'));  // keyword of the wrong kind
    } else {
        std::string keyword = shape == 2 ? mangle(in, row.keyword) : row.keyword;
        inputs.push_back(testhost::text(keyword));
    }
    if (!inputs.empty()) {
        int argumentCount = int(std::strlen(row.argumentKinds));
        if (in.below(6) == 0) argumentCount = int(in.below(9));
        for (int i = 0; i < argumentCount; ++i) {
            char kind = i < int(std::strlen(row.argumentKinds)) ? row.argumentKinds[i] : 'S';
            inputs.push_back(makeArgument(in, kind));
        }
    }
    // A stack of thousands of frames is the host's to refuse: a count the
    // bulk readouts accept stays small.
    if (isBulkReadout(row.keyword) && inputs.size() == 4 && isScalarInput(*inputs[3])) {
        uint32_t count = argumentWord(*inputs[3]);
        if (count > 16 && count <= row.bound.maximum) inputs[3] = testhost::scalar(count % 17);
    }
    // The driver writes the raw-frame file the text names, a save the TIFF
    // file: keep them in the run's scratch folder, whatever the text, and
    // saves to a few frames.
    const bool writesFile = std::string(row.keyword) == "MemoryDownloadRawFrame" || isSave(row.keyword);
    if (writesFile && inputs.size() >= 3 && inputs[2]->classId == mxCHAR_CLASS)
        inputs[2] = testhost::text(scratchFile(std::string(inputs[2]->bytes.begin(), inputs[2]->bytes.end())));
    if (isSave(row.keyword) && inputs.size() >= 5 && isScalarInput(*inputs[4]))
        inputs[4] = testhost::scalar(argumentWord(*inputs[4]) % 17);
    int nlhs = in.below(5) == 0 ? int(in.below(7)) : row.outputCount();

    std::vector<const mxArray*> pointers;
    for (const testhost::Array& input : inputs) pointers.push_back(input.get());
    std::string description = describeCall(nlhs, pointers);

    // The message the gateway and the checks owe this call, if any.
    std::string expected;
    const CommandRow* resolved = nullptr;
    if (pointers.empty()) {
        expected = "Invalid number of input arguments.";
    } else if (pointers[0]->classId != mxCHAR_CLASS) {
        expected = "First input to the ZEL camera interface must be a string.";
    } else if (session.arrayToStringFails) {
        expected = "Memory allocation failed.";
    } else {
        // Keywords are whole texts: one holding a zero character is none.
        std::string keyword(pointers[0]->bytes.begin(), pointers[0]->bytes.end());
        resolved = keyword.find('\0') == std::string::npos ? findCommand(keyword.c_str()) : nullptr;
        expected = resolved == nullptr ? "Unrecognized mode for QuorvelML interface."
                                       : expectedCheckError(*resolved, nlhs, pointers);
    }
    if (session.arrayToStringFails && !pointers.empty() && pointers[0]->classId == mxCHAR_CLASS) {
        testhost::failNextArrayToString();
        session.arrayToStringFails = false;
    }

    bool wasLoaded = driverIsLoaded();
    CallContext context{resolved, pointers, inputNamesOpenCamera(pointers), simLoggedCallCount(), description};
    try {
        testhost::CallResult result = testhost::call(nlhs, pointers);
        if (resolved == nullptr || !expected.empty()) contractBroken("no error where \"" + expected + "\" was due", description);
        checkOutputs(context, result);
    } catch (const testhost::HostError& error) {
        std::string message = error.what();
        bool loadFailed = !wasLoaded && !driverIsLoaded() && message == "Can not load driver QuorvelML.";
        // The file a save names may exist, be a folder, or hold no TIFF; a
        // download's may be a folder or a FIFO.
        bool namesFile = resolved != nullptr &&
                         (isSave(resolved->keyword) || std::string(resolved->keyword) == "MemoryDownloadRawFrame");
        bool fileRefused = expected.empty() && namesFile && error.identifier.rfind("QuorvelML:file", 0) == 0;
        if (message != expected && !loadFailed && !fileRefused)
            contractBroken("error \"" + message + "\" where \"" + expected + "\" was due", description);
    }
    if (driverIsLoaded()) checkCameraTable(description);
}

void scheduleFault(FuzzInput& in) {
    const char* operation = kOperations[in.below(kOperationCount)];
    int skip = int(in.below(6));
    uint32_t value = in.below(4) == 0 ? in.word() : kForcedValues[in.below(6)];
    int count = in.below(4) == 0 ? kSimForever : 1 + int(in.below(3));
    if (in.below(4) == 0)
        simForceResultWhere(operation, in.below(4), in.below(2) == 0 ? in.below(40) : in.word(), value, count);
    else
        simForceResultAfter(operation, skip, value, count);
}


}  // namespace


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    testhost::resetHost();
    resetModuleState();
    simReset();
    // Recordings and disk reads advance only when the input fires events,
    // so a session replays the same way every time.
    for (uint32_t id : kCameraIds) simSetMemory(id, 16, 0, 0);
    Session session;

    for (int step = 0; step < kMaxSteps && !in.empty(); ++step) {
        switch (in.below(12)) {
            case 0: scheduleFault(in); break;
            case 1:
                if (in.below(4) == 0) simFireLateRecordEvent(kCameraIds[in.below(5)]);
                else simFireRecordEvent(kCameraIds[in.below(5)]);
                break;
            case 2: simFireDiskProgress(kCameraIds[in.below(5)], in.word(), in.word()); break;
            case 3:
                if (in.below(8) == 0) session.arrayToStringFails = true;
                else if (in.below(2) == 0) simSetReportedEnumCount(in.below(40));
                else simClearForcedResults();
                break;
            default:
                runCall(in, session);
                ++gFigures.calls;
                break;
        }
    }

    // The host unloads the module: the hook runs once if it was registered.
    bool hooked = testhost::exitHooksRegistered() > 0;
    simClearForcedResults();
    int unloadsBefore = simCallCount("drvUnload");
    testhost::unloadModule();
    if (simCallCount("drvUnload") - unloadsBefore != (hooked ? 1 : 0)) contractBroken("driver unload count", "exit");
    // Callbacks after the unload find no registration and touch nothing.
    for (uint32_t id : kCameraIds)
        if (simFireRecordEvent(id) || simFireLateRecordEvent(id) || simFireDiskProgress(id, 1, 1))
            contractBroken("callback after unload", "exit");
    gFigures.faultsInjected += simForcedCallCount();
    return 0;
}
