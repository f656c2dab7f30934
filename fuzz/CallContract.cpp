#include "CallContract.h"

#include "QuorvelSim.h"
#include "camera/CameraTable.h"
#include "camera/Discovery.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

namespace {

bool isNumericClass(mxClassID classId) { return classId >= mxDOUBLE_CLASS && classId <= mxUINT64_CLASS; }

size_t rows(const mxArray& array) { return array.dimensions.empty() ? 0 : size_t(array.dimensions[0]); }

size_t columnsAndBeyond(const mxArray& array) {
    size_t count = 1;
    for (size_t i = 1; i < array.dimensions.size(); ++i) count *= size_t(array.dimensions[i]);
    return count;
}

bool isWord(const mxArray& array) {
    return array.classId == mxUINT32_CLASS && !array.complex && array.dimensions == std::vector<mwSize>{1, 1};
}

uint32_t wordOf(const mxArray& array) {
    uint32_t value;
    std::memcpy(&value, array.bytes.data(), sizeof value);
    return value;
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

// An output of the kind its row names: 'W' 1x1 uint32, 'T' text, 'L'
// 1-by-n uint32, 'G' live image, 'I' recorded image, 'K' H x W x n or
// H x W x 3 x n stack of recorded images, 'C' n x 1 uint8.
void checkOutputKind(const mxArray& output, char kind, const std::string& description) {
    const std::vector<mwSize>& dimensions = output.dimensions;
    switch (kind) {
        case 'W':
            if (!isWord(output)) contractBroken("output is not a 1x1 uint32", description);
            return;
        case 'T':
            if (output.classId != mxCHAR_CLASS) contractBroken("output is not a text", description);
            return;
        case 'L':
            if (output.classId != mxUINT32_CLASS || dimensions.size() != 2 || dimensions[0] != 1)
                contractBroken("output is not a 1-by-n uint32 list", description);
            return;
        case 'G':
        case 'I':
            checkImage(output, kind == 'G', description);
            return;
        case 'K':
            if (output.complex || (output.classId != mxUINT8_CLASS && output.classId != mxUINT16_CLASS) ||
                dimensions.size() < 3 || dimensions.size() > 4 || (dimensions.size() == 4 && dimensions[2] != 3))
                contractBroken("stack shape", description);
            return;
        case 'C':
            if (output.classId != mxUINT8_CLASS || dimensions.size() != 2 || dimensions[1] != 1)
                contractBroken("output is not a uint8 column", description);
            return;
        default:
            contractBroken(std::string("no output kind '") + kind + "'", description);
    }
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

// Whether a scalar input names a whole number below 2^bits: integer classes
// by their stored value, the others by the double they hold; a complex
// number names none.
bool namesWholeNumber(const mxArray& input, int bits) {
    if (input.complex) return false;
    const long double limit = bits == 64 ? 18446744073709551616.0L : 4294967296.0L;
    if (input.classId == mxUINT64_CLASS || input.classId == mxINT64_CLASS) {
        uint64_t stored;
        std::memcpy(&stored, input.bytes.data(), sizeof stored);
        if (input.classId == mxINT64_CLASS && int64_t(stored) < 0) return false;
        return (long double)stored < limit;
    }
    const double value = mxGetScalar(&input);
    return value >= 0 && (long double)value < limit && value == std::floor(value);
}

}  // namespace

bool isScalarInput(const mxArray& array) {
    return isNumericClass(array.classId) && rows(array) * columnsAndBeyond(array) == 1;
}

uint32_t argumentWord(const mxArray& array) {
    double value = mxGetScalar(&array);
    if (std::isnan(value) || std::fabs(value) >= 9223372036854775808.0) return 0;
    return uint32_t(uint64_t(int64_t(value)));
}

bool isBulkReadout(const std::string& keyword) {
    return keyword == "MemoryReadFrames" || keyword == "MemoryReadSegments";
}

bool isSave(const std::string& keyword) { return keyword == "MemorySaveFrames" || keyword == "MemorySaveSegments"; }

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
        if (isTextKind(row.argumentKinds[position - 2])) {
            if (input.classId == mxCHAR_CLASS) continue;
            std::snprintf(message, sizeof message, "Input %d must be a string.", position);
            return message;
        }
        if (!isScalarInput(input)) {
            std::snprintf(message, sizeof message, "Input %d must be a scalar.", position);
            return message;
        }
        const char kind = row.argumentKinds[position - 2];
        if ((kind == 'P' || kind == 'N') && !namesWholeNumber(input, kind == 'P' ? 64 : 32))
            return "Input " + std::to_string(position) + " must be a whole number from 0 to " +
                   (kind == 'P' ? "18446744073709551615." : "4294967295.");
    }
    if (nlhs != row.outputCount()) return row.outputCountMessage;
    const ValueBound& bound = row.bound;
    if (bound.position != 0) {
        const int32_t value = int32_t(argumentWord(*inputs[size_t(bound.position - 1)]));
        const std::string maximum = std::to_string(bound.maximum);
        if (value < 0 || uint32_t(value) > bound.maximum)
            return bound.message == BoundMessage::FrameCount
                       ? std::string(row.keyword) + " reads at most " + maximum + " frames\n"
                       : "Input " + std::to_string(bound.position) + " must be a length from 0 to " + maximum + ".";
    }
    if (isSave(row.keyword)) {
        const mxArray& name = *inputs[2];
        if ((!name.dimensions.empty() && name.dimensions[0] > 1) || std::memchr(name.bytes.data(), 0, name.bytes.size()) != nullptr)
            return std::string(row.keyword) + " takes a file name of one row of text with no zero character\n";
        if (argumentWord(*inputs[5]) > 2)
            return std::string(row.keyword) + " takes a mode of 0 (new file), 1 (replace) or 2 (append)\n";
    }
    return "";
}

void checkOutputs(const CallContext& context, const testhost::CallResult& result) {
    const CommandRow& row = *context.row;
    const std::string keyword = row.keyword;
    const std::string& description = context.description;
    if (result.outputs.size() != size_t(row.outputCount())) contractBroken("output count", description);
    for (const testhost::Array& output : result.outputs)
        if (output == nullptr) contractBroken("an output was not assigned", description);
    for (size_t i = 0; i < result.outputs.size(); ++i)
        checkOutputKind(result.output(i), row.outputKinds[i], description);

    if (keyword == "Version" && result.textOutput(0) != "2.14.00") contractBroken("version text", description);
    if (keyword == "DriverInfo" && wordOf(result.output(1)) > 1) contractBroken("simulated flag not 0 or 1", description);
    if (row.outputKinds[0] == 'T') return;  // no status number to check
    uint32_t first = wordOf(result.output(0));
    if (!row.mayAnswer(first))
        contractBroken("first output " + std::to_string(first) + " is no value this command answers", description);

    if (row.camera.named && !context.cameraOpen) {
        // No slot: nothing may reach the driver, output 1 is the row's answer
        // and every other output holds nothing.
        for (const SimCall& call : hostThreadCallsSince(context.driverCalls))
            if (call.operation != "drvPreLoad" && call.operation != "drvLoad")
                contractBroken("driver called for a camera not open: " + call.describe(), description);
        if (first != row.camera.notOpenStatus)
            contractBroken("first output " + std::to_string(first) + " for a camera not open", description);
        for (size_t i = 1; i < result.outputs.size(); ++i)
            if (!allZero(result.output(i))) contractBroken("output filled for a camera not open", description);
    }

    if (keyword == "EnumCameras") {
        const mxArray& identifiers = result.output(2);
        if (identifiers.dimensions[1] > kEnumCapacity) contractBroken("identifier list length", description);
        uint32_t count = wordOf(result.output(1));
        if (first == 0 && count != uint32_t(identifiers.dimensions[1])) contractBroken("count vs list", description);
        if (first == 1 && (count != 0 || !allZero(identifiers))) contractBroken("failed enumeration filled", description);
    } else if (keyword == "SynchGrab") {
        if (result.output(1).classId != result.output(2).classId ||
            result.output(1).dimensions != result.output(2).dimensions)
            contractBroken("the two images differ in shape", description);
    } else if (isBulkReadout(keyword)) {
        // n frames read: all of them on success.
        const uint32_t framesRead = wordOf(result.output(2));
        if (result.output(1).dimensions.back() != mwSize(framesRead)) contractBroken("stack length", description);
        if (framesRead > argumentWord(*context.inputs[3]) || (first == 0 && framesRead != argumentWord(*context.inputs[3])))
            contractBroken("frames read vs count", description);
    } else if (isSave(keyword)) {
        // Every frame saved on success, never more than asked.
        const uint32_t saved = wordOf(result.output(1));
        if (saved > argumentWord(*context.inputs[4]) || (first == 0 && saved != argumentWord(*context.inputs[4])))
            contractBroken("pages saved vs count", description);
    } else if (keyword == "ReadGPSTiming") {
        const mxArray& column = result.output(1);
        if (column.dimensions[0] != mwSize(argumentWord(*context.inputs[2])))
            contractBroken("timing column length", description);
        if (first != 0 && !allZero(column)) contractBroken("failed timing read wrote text", description);
    } else if (keyword == "MemoryDownloadRawFrame") {
        // A file name the driver would get cut short never reaches it.
        const mxArray& name = *context.inputs[2];
        if (name.bytes.size() > 255 || std::memchr(name.bytes.data(), 0, name.bytes.size()) != nullptr) {
            if (first != ResultDownloadFailed)
                contractBroken("a file name that would be cut answered " + std::to_string(first), description);
            for (const SimCall& call : hostThreadCallsSince(context.driverCalls))
                if (call.operation == "drvDownloadRawFrame") contractBroken("a cut file name reached the driver", description);
        }
    } else if (keyword == "OpenRawCamera") {
        if (wordOf(result.output(1)) != 0) contractBroken("raw camera id not 0", description);
    } else if (keyword == "OpenCamera") {
        uint32_t requested = argumentWord(*context.inputs[1]);
        uint32_t opened = wordOf(result.output(1));
        if (requested != 0 && opened != requested) contractBroken("named camera id changed", description);
        if (first != ResultOpenFailed && findOpenCamera(int32_t(opened)) == nullptr)
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
