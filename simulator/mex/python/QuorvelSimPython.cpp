// quorvel._sim: the QuorvelSim MEX's verbs for Python, run from the one
// verb table (../SimVerbTable.h) over the array calls of mex.h here. Each
// verb runs in the core without the GIL, as a camera call does, through
// the entry that quorvel._core hands over (refused in a forked process).
#include "../SimVerbTable.h"
#include "mex.h"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace py = pybind11;

namespace {

bool locked = false;
// quorvel._core's runInCore (python/CoreCalls.h).
using CoreEntry = std::string (*)(void (*run)(void*), void* context);
CoreEntry runInCore = nullptr;

struct VerbRun {
    const SimVerb* verb;
    std::vector<const mxArray*>* inputs;
    mxArrayOwner result;
    std::string refusal;
};

void runVerbInCore(void* context) {
    auto* run = static_cast<VerbRun*>(context);
    try {
        run->result.reset(run->verb->run(SimVerbArguments(*run->verb, int(run->inputs->size()), run->inputs->data())));
    } catch (const SimVerbRefusal& refused) {
        run->refusal = refused.what();
    }
}

mxArray* created(mxArray::Kind kind) {
    auto* array = new mxArray;
    array->kind = kind;
    return array;
}

mxArrayOwner argumentOf(const py::handle& value) {
    mxArrayOwner array(created(mxArray::Kind::Numbers));
    if (py::isinstance<py::bool_>(value)) {
        array->kind = mxArray::Kind::Logical;
        array->logical = value.cast<bool>();
    } else if (py::isinstance<py::str>(value)) {
        array->kind = mxArray::Kind::Text;
        array->text = value.cast<std::string>();
        array->columns = array->text.size();
    } else {
        try {
            array->numbers = {value.cast<double>()};
        } catch (const py::cast_error&) {
            array->kind = mxArray::Kind::Cells;  // neither number nor text: refused as either
            array->rows = array->columns = 0;
        }
    }
    return array;
}

// Whole numbers become ints, as the MATLAB side's doubles hold them.
py::object valueOf(const mxArray& array) {
    switch (array.kind) {
        case mxArray::Kind::Logical:
            return py::bool_(array.logical);
        case mxArray::Kind::Text:
            return py::str(array.text);
        case mxArray::Kind::Cells: {
            py::list items;
            for (const mxArrayOwner& cell : array.cells) items.append(cell ? valueOf(*cell) : py::none());
            return items;
        }
        case mxArray::Kind::Record: {
            py::dict record;
            for (const auto& field : array.fields) record[py::str(field.first)] = field.second ? valueOf(*field.second) : py::none();
            return record;
        }
        case mxArray::Kind::Numbers:
            break;
    }
    py::list numbers;
    for (double number : array.numbers) {
        if (std::isfinite(number) && number == std::trunc(number) && std::fabs(number) < 0x1p63)
            numbers.append(py::int_(static_cast<long long>(number)));
        else
            numbers.append(py::float_(number));
    }
    if (array.rows == 1 && array.columns == 1) return numbers[0];
    return numbers;
}

py::object runVerb(const std::string& name, const py::args& arguments) {
    const std::vector<SimVerb>& verbs = simVerbTable();
    const SimVerb* verb = nullptr;
    for (const SimVerb& row : verbs)
        if (name == row.name) verb = &row;
    if (verb == nullptr) throw py::attribute_error("quorvel.sim has no verb '" + name + "'");
    std::vector<mxArrayOwner> owned;
    std::vector<const mxArray*> inputs{nullptr};  // where the MEX has its verb's name
    for (const py::handle& argument : arguments) {
        owned.push_back(argumentOf(argument));
        inputs.push_back(owned.back().get());
    }
    VerbRun run{verb, &inputs, {}, {}};
    const std::string coreRefusal = runInCore(runVerbInCore, &run);
    if (!coreRefusal.empty()) throw std::runtime_error(coreRefusal);
    if (!run.refusal.empty()) throw py::value_error(run.refusal);
    return run.result ? valueOf(*run.result) : py::object(py::none());
}

// (name, call form, what it does) of every verb, in the table's order.
std::vector<std::tuple<std::string, std::string, std::string>> verbList() {
    std::vector<std::tuple<std::string, std::string, std::string>> list;
    for (const SimVerb& verb : simVerbTable()) list.emplace_back(verb.name, simVerbUsage(verb), verb.summary);
    return list;
}

}  // namespace

mxArray* mxCreateDoubleMatrix(mwSize rows, mwSize columns, mxComplexity) {
    mxArray* array = created(mxArray::Kind::Numbers);
    array->rows = rows;
    array->columns = columns;
    array->numbers.assign(rows * columns, 0.0);
    return array;
}
mxArray* mxCreateDoubleScalar(double value) {
    mxArray* array = mxCreateDoubleMatrix(1, 1, mxREAL);
    array->numbers[0] = value;
    return array;
}
mxArray* mxCreateLogicalScalar(bool value) {
    mxArray* array = created(mxArray::Kind::Logical);
    array->logical = value;
    return array;
}
mxArray* mxCreateString(const char* text) {
    mxArray* array = created(mxArray::Kind::Text);
    array->text = text;
    array->columns = array->text.size();
    return array;
}
mxArray* mxCreateCellMatrix(mwSize rows, mwSize columns) {
    mxArray* array = created(mxArray::Kind::Cells);
    array->rows = rows;
    array->columns = columns;
    array->cells.resize(rows * columns);
    return array;
}
mxArray* mxCreateStructMatrix(mwSize, mwSize, int fieldCount, const char** names) {
    mxArray* array = created(mxArray::Kind::Record);
    for (int i = 0; i < fieldCount; ++i) mxAddField(array, names[i]);
    return array;
}
void mxSetCell(mxArray* cells, size_t index, mxArray* value) { cells->cells.at(index).reset(value); }
int mxAddField(mxArray* record, const char* name) {
    record->fields.emplace_back(name, nullptr);
    return int(record->fields.size()) - 1;
}
void mxSetField(mxArray* record, size_t, const char* name, mxArray* value) {
    for (auto& field : record->fields)
        if (field.first == name) field.second.reset(value);
}
void* mxGetData(const mxArray* array) { return const_cast<double*>(array->numbers.data()); }
double mxGetScalar(const mxArray* array) {
    if (array->kind == mxArray::Kind::Logical) return array->logical ? 1 : 0;
    return array->numbers.empty() ? 0 : array->numbers[0];
}
size_t mxGetNumberOfElements(const mxArray* array) {
    return array->kind == mxArray::Kind::Logical ? 1 : array->rows * array->columns;
}
size_t mxGetM(const mxArray* array) { return array->rows; }
bool mxIsChar(const mxArray* array) { return array->kind == mxArray::Kind::Text; }
bool mxIsLogical(const mxArray* array) { return array->kind == mxArray::Kind::Logical; }
bool mxIsNumeric(const mxArray* array) { return array->kind == mxArray::Kind::Numbers; }
// A Python complex arrives as neither number nor text (argumentOf).
bool mxIsComplex(const mxArray*) { return false; }
char* mxArrayToString(const mxArray* array) { return strdup(array->text.c_str()); }
void mxFree(void* block) { std::free(block); }
void mexErrMsgTxt(const char* message) { throw SimVerbRefusal(message); }
void mexErrMsgIdAndTxt(const char*, const char* format, ...) {
    va_list arguments, measuring;
    va_start(arguments, format);
    va_copy(measuring, arguments);
    std::string message(size_t(std::max(std::vsnprintf(nullptr, 0, format, measuring), 0)), '\0');
    va_end(measuring);
    std::vsnprintf(message.data(), message.size() + 1, format, arguments);
    va_end(arguments);
    throw SimVerbRefusal(message);
}
// A Python extension is never unloaded: the lock verbs only keep their answer.
void mexLock() { locked = true; }
void mexUnlock() { locked = false; }
bool mexIsLocked() { return locked; }

PYBIND11_MODULE(_sim, m) {
    m.doc() = "The simulator's control verbs; use quorvel.sim, not this module.";
    runInCore = reinterpret_cast<CoreEntry>(
        static_cast<void*>(py::module_::import("quorvel._core").attr("_core_entry").cast<py::capsule>()));
    m.def("run", &runVerb);
    m.def("verbs", &verbList);
}
