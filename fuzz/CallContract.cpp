#include "CallContract.h"

#include "QuorvelSim.h"
#include "acquisition/Readout.h"
#include "camera/CameraTable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

namespace {

bool isNumericClass(mxClassID classId) { return classId >= mxDOUBLE_CLASS && classId <= mxUINT64_CLASS; }

size_t rows(const mxArray& array) { return array.dimensions.empty() ? 0 : size_t(array.dimensions[0]); }

size_t columnsAndBeyond(const mxArray& array) {
    size_t count = 1;
    for (size_t i = 1; i < array.dimensions.size(); ++i) count *= size_t(array.dimensions[i]);
    return count;
}

bool isScalarInput(const mxArray& array) {
    return isNumericClass(array.classId) && rows(array) * columnsAndBeyond(array) == 1;
}

// The 32-bit value MATLAB code means by a scalar argument.
uint32_t argumentWord(const mxArray& array) {
    double value = mxGetScalar(&array);
    if (std::isnan(value) || std::fabs(value) >= 9223372036854775808.0) return 0;
    return uint32_t(uint64_t(int64_t(value)));
}

bool isBulkReadout(const std::string& keyword) {
    return keyword == "MemoryReadFrames" || keyword == "MemoryReadSegments";
}

bool isWord(const mxArray& array) {
    return array.classId == mxUINT32_CLASS && !array.complex && array.dimensions == std::vector<mwSize>{1, 1};
}

uint32_t wordOf(const mxArray& array) {
    uint32_t value;
    std::memcpy(&value, array.bytes.data(), sizeof value);
    return value;
}

// Codes each command's first output may hold.
const std::map<std::string, std::set<uint32_t>>& allowedFirstOutputs() {
    static const std::map<std::string, std::set<uint32_t>> codes = {
        {"InitPCIeMemory", {0, 1}},
        {"SetNetAdapterIPAddress", {0, 1}},
        {"OpenCamera", {0, 2, 5}},
        {"CloseCamera", {0, 6}},
        {"EnumCameras", {0, 1}},
        {"GetCameraInfo", {0, 9}},
        {"GetParameter", {0, 7}},
        {"SetParameter", {0, 4, 8}},
        {"Abort", {0}},
        {"GrabIsReady", {0}},
        {"GetBrocParameters", {0, 7}},
        {"SynchGrab", {0, 3, 7, 9, 11, 12, 18}},
        {"MemoryPreview", {0, 3, 7, 9, 11, 12, 18}},
        {"MemoryStartGrab", {0, 12, 21}},
        {"MemoryStopGrab", {0, 15}},
        {"MemoryReadData", {0, 3, 7, 9, 13, 18}},
        {"MemoryReadTriggerPosition", {0, 14}},
        {"CalibrateNoiseReduction", {0, 17}},
        {"SendCfg", {0, 10}},
        {"Trigger", {0, 19}},
        {"ReadGPSTiming", {0, 20}},
        {"Reset", {0, 21}},
        {"EnableDiagnosticTrace", {0, 22}},
        {"EraseMemory", {0, 23}},
        {"MemoryDownloadRawFrame", {0, 25}},
        {"PreLoadDriver", {0, 4}},
        {"OpenRawCamera", {0, 7, 10, 24}},
        {"MemoryReadFromDisk", {0, 13}},
        {"MemoryReadFrames", {0, 3, 7, 9, 11, 13, 18}},
        {"MemoryReadSegments", {0, 3, 7, 9, 11, 13, 18}},
        {"DiskReadProgress", {0, 13}},
    };
    return codes;
}

// Commands on an open camera named by input 2.
bool needsOpenCamera(const std::string& keyword) {
    static const std::set<std::string> keywords = {
        "CloseCamera",       "GetCameraInfo",   "GetParameter",   "SetParameter",  "GrabIsReady",
        "GetBrocParameters", "SynchGrab",       "MemoryPreview",  "MemoryStartGrab", "MemoryStopGrab",
        "MemoryReadData",    "MemoryReadTriggerPosition", "CalibrateNoiseReduction", "SendCfg", "Trigger",
        "ReadGPSTiming",     "Reset",           "EnableDiagnosticTrace", "EraseMemory", "MemoryDownloadRawFrame",
        "MemoryReadFromDisk", "MemoryReadFrames", "MemoryReadSegments",
        "DiskReadProgress"};
    return keywords.count(keyword) != 0;
}

// An image output: uint8 or uint16, H x W or H x W x 3. The live commands
// deliver three planes only as uint8.
void checkImage(const mxArray& image, bool live, const std::string& description) {
    if (image.complex) contractBroken("complex image", description);
    if (image.classId != mxUINT8_CLASS && image.classId != mxUINT16_CLASS) contractBroken("image class", description);
    size_t dimensionCount = image.dimensions.size();
    if (dimensionCount != 2 && !(dimensionCount == 3 && image.dimensions[2] == 3))
        contractBroken("image dimensions", description);
    if (live && dimensionCount == 3 && image.classId != mxUINT8_CLASS)
        contractBroken("live colour image not uint8", description);
}

// The calls the host's thread made since the log held `logged` calls (the
// driver's threads call meanwhile); the log keeps only the recent ones.
std::vector<SimCall> hostThreadCallsSince(uint64_t logged) {
    std::vector<SimCall> log = simCallLog();
    const uint64_t firstKept = simLoggedCallCount() - log.size();
    std::vector<SimCall> calls;
    for (size_t i = size_t(std::max(logged, firstKept) - firstKept); i < log.size(); ++i)
        if (log[i].thread == std::this_thread::get_id()) calls.push_back(log[i]);
    return calls;
}

bool allZero(const mxArray& array) {
    for (unsigned char byte : array.bytes)
        if (byte != 0) return false;
    return true;
}

}  // namespace

void contractBroken(const std::string& what, const std::string& call) {
    std::fprintf(stderr, "contract broken: %s\n  in %s\n", what.c_str(), call.c_str());
    std::abort();
}

std::string expectedCheckError(const CommandRow& row, int nlhs, const std::vector<const mxArray*>& inputs) {
    int nrhs = int(inputs.size());
    if (nrhs != 1 + int(std::strlen(row.argumentKinds))) return row.inputCountMessage;
    for (int position = 2; position <= nrhs; ++position) {
        const mxArray& input = *inputs[size_t(position - 1)];
        char message[40];
        if (row.argumentKinds[position - 2] == 'T') {
            if (input.classId == mxCHAR_CLASS) continue;
            std::snprintf(message, sizeof message, "Input %d must be a string.", position);
            return message;
        }
        if (isScalarInput(input)) continue;
        std::snprintf(message, sizeof message, "Input %d must be a scalar.", position);
        return message;
    }
    if (nlhs != row.outputCount) return row.outputCountMessage;
    if (isBulkReadout(row.keyword) && argumentWord(*inputs[3]) > kMaxBulkReadoutFrames)
        return std::string(row.keyword) + " reads at most " + std::to_string(kMaxBulkReadoutFrames) + " frames\n";
    if (std::string(row.keyword) == "ReadGPSTiming") {
        const int32_t length = int32_t(argumentWord(*inputs[2]));
        if (length < 0 || length > 65536) return "Input 3 must be a length from 0 to 65536.";
    }
    return "";
}

std::string notAvailableMessage(const CommandRow& row) {
    return std::string("The command \"") + row.keyword + "\" is not available yet in this build of QuorvelML.";
}

void checkOutputs(const CallContext& context, const testhost::CallResult& result) {
    const std::string keyword = context.row->keyword;
    const std::string& description = context.description;
    if (result.outputs.size() != size_t(context.row->outputCount)) contractBroken("output count", description);
    for (const testhost::Array& output : result.outputs)
        if (output == nullptr) contractBroken("an output was not assigned", description);

    if (keyword == "Version") {
        if (result.textOutput(0) != "2.14.00") contractBroken("version text", description);
        return;
    }

    // Every other output is a 1x1 uint32 unless named below.
    std::set<size_t> others;
    if (keyword == "EnumCameras") others = {2};
    if (keyword == "SynchGrab") others = {1, 2};
    if (keyword == "MemoryPreview" || keyword == "MemoryReadData" || keyword == "ReadGPSTiming" ||
        isBulkReadout(keyword))
        others = {1};
    for (size_t i = 0; i < result.outputs.size(); ++i)
        if (others.count(i) == 0 && !isWord(result.output(i))) contractBroken("output is not a 1x1 uint32", description);

    uint32_t first = wordOf(result.output(0));
    if (allowedFirstOutputs().at(keyword).count(first) == 0)
        contractBroken("first output " + std::to_string(first) + " is no value this command answers", description);

    if (needsOpenCamera(keyword) && !context.cameraOpen) {
        // No slot: nothing may reach the driver, and nothing may succeed
        // except the driver-free "GrabIsReady", which reports not ready.
        for (const SimCall& call : hostThreadCallsSince(context.driverCalls))
            if (call.operation != "drvPreLoad" && call.operation != "drvLoad")
                contractBroken("driver called for a camera not open: " + call.describe(), description);
        if (keyword == "GrabIsReady" ? wordOf(result.output(1)) != 0 : first == 0)
            contractBroken("success reported for a camera not open", description);
    }

    if (keyword == "EnumCameras") {
        const mxArray& identifiers = result.output(2);
        if (identifiers.classId != mxUINT32_CLASS || identifiers.dimensions.size() != 2 ||
            identifiers.dimensions[0] != 1 || identifiers.dimensions[1] > 10)
            contractBroken("identifier list shape", description);
        uint32_t count = wordOf(result.output(1));
        if (first == 0 && count != uint32_t(identifiers.dimensions[1])) contractBroken("count vs list", description);
        if (first == 1 && (count != 0 || !allZero(identifiers))) contractBroken("failed enumeration filled", description);
    } else if (keyword == "SynchGrab") {
        checkImage(result.output(1), true, description);
        checkImage(result.output(2), true, description);
        if (result.output(1).classId != result.output(2).classId ||
            result.output(1).dimensions != result.output(2).dimensions)
            contractBroken("the two images differ in shape", description);
    } else if (keyword == "MemoryPreview") {
        checkImage(result.output(1), true, description);
    } else if (keyword == "MemoryReadData") {
        checkImage(result.output(1), false, description);
    } else if (isBulkReadout(keyword)) {
        // H x W x n or H x W x 3 x n, n the frames read: all of them on success.
        const mxArray& stack = result.output(1);
        const uint32_t framesRead = wordOf(result.output(2));
        const size_t dimensionCount = stack.dimensions.size();
        if (stack.complex || (stack.classId != mxUINT8_CLASS && stack.classId != mxUINT16_CLASS) ||
            dimensionCount < 3 || dimensionCount > 4 || (dimensionCount == 4 && stack.dimensions[2] != 3) ||
            stack.dimensions.back() != mwSize(framesRead))
            contractBroken("stack shape", description);
        if (framesRead > argumentWord(*context.inputs[3]) || (first == 0 && framesRead != argumentWord(*context.inputs[3])))
            contractBroken("frames read vs count", description);
    } else if (keyword == "ReadGPSTiming") {
        const mxArray& column = result.output(1);
        std::vector<mwSize> expected{mwSize(argumentWord(*context.inputs[2])), 1};
        if (column.classId != mxUINT8_CLASS || column.dimensions != expected) contractBroken("timing column", description);
        if (first != 0 && !allZero(column)) contractBroken("failed timing read wrote text", description);
    } else if (keyword == "MemoryDownloadRawFrame") {
        // A file name the driver would get cut short never reaches it.
        const mxArray& name = *context.inputs[2];
        if (name.bytes.size() > 255 || std::memchr(name.bytes.data(), 0, name.bytes.size()) != nullptr) {
            if (first != 25) contractBroken("a file name that cannot be passed whole did not answer 25", description);
            for (const SimCall& call : hostThreadCallsSince(context.driverCalls))
                if (call.operation == "drvDownloadRawFrame") contractBroken("a cut file name reached the driver", description);
        }
    } else if (keyword == "OpenRawCamera") {
        if (wordOf(result.output(1)) != 0) contractBroken("raw camera id not 0", description);
    } else if (keyword == "OpenCamera") {
        uint32_t requested = argumentWord(*context.inputs[1]);
        uint32_t opened = wordOf(result.output(1));
        if (requested != 0 && opened != requested) contractBroken("named camera id changed", description);
        if (first != 2 && findOpenCamera(int32_t(opened)) == nullptr)
            contractBroken("opened camera not registered", description);
    } else if (keyword == "CloseCamera") {
        if (first == 0 && findOpenCamera(int32_t(argumentWord(*context.inputs[1]))) != nullptr)
            contractBroken("closed camera still registered", description);
    } else if (keyword == "GrabIsReady") {
        if (wordOf(result.output(1)) > 1) contractBroken("ready flag not 0 or 1", description);
    }
}

void checkCameraTable(const std::string& description) {
    std::set<int32_t> keys;
    for (int index = 0; index < kMaxCameras; ++index) {
        int32_t key = cameraSlot(index).key.load();
        if (key == kFreeSlotKey) continue;
        if (!keys.insert(key).second) contractBroken("key " + std::to_string(key) + " registered twice", description);
    }
}
