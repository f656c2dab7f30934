#include "SimOperations.h"

#include <ostream>
#include <stdexcept>

namespace {

constexpr const char* kOperationNames[] = {
#define QUORVEL_SIM_OPERATION_NAME(name, ordinal) #name,
    QUORVEL_DRV_OPERATIONS(QUORVEL_SIM_OPERATION_NAME)
#undef QUORVEL_SIM_OPERATION_NAME
};
static_assert(sizeof kOperationNames / sizeof kOperationNames[0] == kSimOperationCount);

SimOperation operationNamed(std::string_view name) {
    const std::optional<SimOperation> operation = simOperationNamed(name);
    if (!operation) throw std::invalid_argument("no driver operation is named \"" + std::string(name) + "\"");
    return *operation;
}

}  // namespace

const char* simOperationName(SimOperation operation) { return kOperationNames[static_cast<size_t>(operation)]; }

std::optional<SimOperation> simOperationNamed(std::string_view name) {
    for (size_t index = 0; index < kSimOperationCount; ++index)
        if (name == kOperationNames[index]) return static_cast<SimOperation>(index);
    return std::nullopt;
}

SimOperationKey::SimOperationKey(const char* name) {
    const std::string_view text = name != nullptr ? name : "";
    if (text == kSimAnyOperation) return;
    operation = operationNamed(text);
}

bool operator==(SimOperation operation, std::string_view name) { return operation == operationNamed(name); }

std::ostream& operator<<(std::ostream& out, SimOperation operation) { return out << simOperationName(operation); }
