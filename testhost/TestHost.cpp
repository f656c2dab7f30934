#include "TestHost.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

size_t mxArray::elementCount() const {
    size_t count = 1;
    for (mwSize dimension : dimensions) count *= static_cast<size_t>(dimension);
    return count;
}

namespace {

size_t elementBytes(mxClassID classId) {
    switch (classId) {
        case mxLOGICAL_CLASS:
        case mxCHAR_CLASS:
        case mxINT8_CLASS:
        case mxUINT8_CLASS: return 1;
        case mxINT16_CLASS:
        case mxUINT16_CLASS: return 2;
        case mxINT32_CLASS:
        case mxUINT32_CLASS:
        case mxSINGLE_CLASS: return 4;
        default: return 8;
    }
}

struct HostState {
    std::vector<void (*)(void)> exitHooks;
    std::set<void*> keywordTexts;
    std::vector<mxArray*> madeDuringCall;  // reclaimed when the call ends
    int keywordTextsReclaimed = 0;         // left to the host by calls that raised
    bool failArrayToString = false;
};

HostState& host() {
    static HostState state;
    return state;
}

std::string characters(const mxArray* array) {
    return std::string(array->bytes.begin(), array->bytes.end());
}

mxArray* newArray(mxClassID classId, std::vector<mwSize> dimensions) {
    auto* array = new mxArray;
    array->classId = classId;
    array->dimensions = std::move(dimensions);
    array->bytes.assign(array->elementCount() * elementBytes(classId), 0);
    return array;
}

}  // namespace

void mexErrMsgIdAndTxt(const char* identifier, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    va_list measuring;
    va_copy(measuring, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(&text[0], text.size(), format, arguments);
    va_end(arguments);
    text.resize(static_cast<size_t>(length));
    throw testhost::HostError(identifier, text);
}

int mexAtExit(void (*function)(void)) {
    host().exitHooks.push_back(function);
    return 0;
}

bool mxIsChar(const mxArray* array) { return array->classId == mxCHAR_CLASS; }

bool mxIsNumeric(const mxArray* array) {
    return array->classId >= mxDOUBLE_CLASS && array->classId <= mxUINT64_CLASS;
}

bool mxIsComplex(const mxArray* array) { return array->complex; }

mxClassID mxGetClassID(const mxArray* array) { return array->classId; }

size_t mxGetM(const mxArray* array) { return array->dimensions.empty() ? 0 : array->dimensions[0]; }

size_t mxGetN(const mxArray* array) {
    size_t count = 1;
    for (size_t i = 1; i < array->dimensions.size(); ++i) count *= array->dimensions[i];
    return count;
}

double mxGetScalar(const mxArray* array) {
    if (array->elementCount() == 0) return 0.0;
    const unsigned char* data = array->bytes.data();
    switch (array->classId) {
        case mxDOUBLE_CLASS: { double v; std::memcpy(&v, data, 8); return v; }
        case mxSINGLE_CLASS: { float v; std::memcpy(&v, data, 4); return v; }
        case mxINT8_CLASS: return static_cast<int8_t>(data[0]);
        case mxUINT8_CLASS:
        case mxLOGICAL_CLASS:
        case mxCHAR_CLASS: return data[0];
        case mxINT16_CLASS: { int16_t v; std::memcpy(&v, data, 2); return v; }
        case mxUINT16_CLASS: { uint16_t v; std::memcpy(&v, data, 2); return v; }
        case mxINT32_CLASS: { int32_t v; std::memcpy(&v, data, 4); return v; }
        case mxUINT32_CLASS: { uint32_t v; std::memcpy(&v, data, 4); return v; }
        case mxINT64_CLASS: { int64_t v; std::memcpy(&v, data, 8); return static_cast<double>(v); }
        case mxUINT64_CLASS: { uint64_t v; std::memcpy(&v, data, 8); return static_cast<double>(v); }
        default: return 0.0;
    }
}

void* mxGetData(const mxArray* array) {
    return const_cast<unsigned char*>(array->bytes.data());
}

int mxGetString(const mxArray* array, char* buffer, mwSize length) {
    if (length <= 0) return 1;
    std::string text = characters(array);
    size_t copied = std::min(text.size(), static_cast<size_t>(length - 1));
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
    return copied < text.size() ? 1 : 0;
}

char* mxArrayToString(const mxArray* array) {
    if (host().failArrayToString) {
        host().failArrayToString = false;
        return nullptr;
    }
    std::string text = characters(array);
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    std::memcpy(copy, text.c_str(), text.size() + 1);
    host().keywordTexts.insert(copy);
    return copy;
}

void mxFree(void* pointer) {
    host().keywordTexts.erase(pointer);
    std::free(pointer);
}

mxArray* mxCreateNumericArray(mwSize dimensionCount, const mwSize* dimensions, mxClassID classId,
                              mxComplexity complexity) {
    std::vector<mwSize> shape(dimensions, dimensions + dimensionCount);
    if (shape.size() == 1) shape.push_back(1);  // hosts keep at least two dimensions
    mxArray* array = newArray(classId, std::move(shape));
    array->complex = complexity == mxCOMPLEX;
    host().madeDuringCall.push_back(array);
    return array;
}

mxArray* mxCreateUninitNumericArray(mwSize dimensionCount, const mwSize* dimensions, mxClassID classId,
                                    mxComplexity complexity) {
    mxArray* array = mxCreateNumericArray(dimensionCount, dimensions, classId, complexity);
    std::fill(array->bytes.begin(), array->bytes.end(), kUninitialisedByte);
    return array;
}

int mxSetDimensions(mxArray* array, const mwSize* dimensions, mwSize dimensionCount) {
    array->dimensions.assign(dimensions, dimensions + dimensionCount);
    if (array->dimensions.size() == 1) array->dimensions.push_back(1);
    array->bytes.resize(array->elementCount() * elementBytes(array->classId));
    return 0;
}

mxArray* mxCreateString(const char* text) {
    size_t length = std::strlen(text);
    mxArray* array = newArray(mxCHAR_CLASS, {1, static_cast<mwSize>(length)});
    std::copy(text, text + length, array->bytes.begin());
    host().madeDuringCall.push_back(array);
    return array;
}

namespace testhost {

Array scalar(double value) {
    Array array(newArray(mxDOUBLE_CLASS, {1, 1}));
    std::memcpy(array->bytes.data(), &value, sizeof value);
    return array;
}

Array text(const std::string& characters) {
    Array array(newArray(mxCHAR_CLASS, {characters.empty() ? 0 : 1, static_cast<mwSize>(characters.size())}));
    std::copy(characters.begin(), characters.end(), array->bytes.begin());
    return array;
}

Array numeric(mxClassID classId, std::vector<mwSize> dimensions) {
    return Array(newArray(classId, std::move(dimensions)));
}

Array logical(bool value) {
    Array array(newArray(mxLOGICAL_CLASS, {1, 1}));
    array->bytes[0] = value ? 1 : 0;
    return array;
}

Array emptyDouble() { return Array(newArray(mxDOUBLE_CLASS, {0, 0})); }

uint32_t CallResult::word(size_t index) const {
    const mxArray& array = output(index);
    if (array.classId != mxUINT32_CLASS || array.elementCount() != 1)
        throw std::logic_error("output " + std::to_string(index) + " is not a 1x1 uint32");
    uint32_t value;
    std::memcpy(&value, array.bytes.data(), sizeof value);
    return value;
}

std::string CallResult::textOutput(size_t index) const {
    const mxArray& array = output(index);
    if (array.classId != mxCHAR_CLASS) throw std::logic_error("output is not text");
    return characters(&array);
}

namespace {

void reclaimCallArrays(const std::vector<mxArray*>& keep) {
    for (mxArray* array : host().madeDuringCall)
        if (std::find(keep.begin(), keep.end(), array) == keep.end()) delete array;
    host().madeDuringCall.clear();
}

void reclaimKeywordTexts() {
    host().keywordTextsReclaimed += static_cast<int>(host().keywordTexts.size());
    for (void* text : host().keywordTexts) std::free(text);
    host().keywordTexts.clear();
}

}  // namespace

CallResult call(int nlhs, const std::vector<const mxArray*>& inputs) {
    std::vector<mxArray*> slots(static_cast<size_t>(std::max(nlhs, 1)), nullptr);
    host().madeDuringCall.clear();
    try {
        mexFunction(nlhs, slots.data(), static_cast<int>(inputs.size()),
                    const_cast<const mxArray**>(inputs.data()));
    } catch (const HostError&) {
        reclaimCallArrays({});
        reclaimKeywordTexts();
        throw;
    }
    reclaimCallArrays(slots);
    CallResult result;
    for (int i = 0; i < nlhs; ++i) result.outputs.emplace_back(slots[static_cast<size_t>(i)]);
    return result;
}

CallResult call(int nlhs, const std::vector<Array>& inputs) {
    std::vector<const mxArray*> pointers;
    for (const Array& input : inputs) pointers.push_back(input.get());
    return call(nlhs, pointers);
}

void unloadModule() {
    std::vector<void (*)(void)> hooks;
    hooks.swap(host().exitHooks);
    for (auto hook : hooks) hook();
}

int exitHooksRegistered() { return static_cast<int>(host().exitHooks.size()); }

int keywordTextsOutstanding() { return static_cast<int>(host().keywordTexts.size()); }

int keywordTextsReclaimedByHost() { return host().keywordTextsReclaimed; }

void failNextArrayToString() { host().failArrayToString = true; }

void resetHost() {
    host().exitHooks.clear();
    reclaimKeywordTexts();
    host().keywordTextsReclaimed = 0;
    host().failArrayToString = false;
}

}  // namespace testhost
