// The driver's operations as the simulator names them: one enumerator per
// operation of QuorvelDrv.h's list, in its order. Fault schedules and call
// counts are kept by it.
#ifndef QUORVEL_SIMULATOR_SIMOPERATIONS_H
#define QUORVEL_SIMULATOR_SIMOPERATIONS_H

#include "driver/QuorvelDrv.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

enum class SimOperation : uint8_t {
#define QUORVEL_SIM_OPERATION(name, ordinal) name,
    QUORVEL_DRV_OPERATIONS(QUORVEL_SIM_OPERATION)
#undef QUORVEL_SIM_OPERATION
};
#define QUORVEL_SIM_OPERATION_COUNT(name, ordinal) +1
constexpr size_t kSimOperationCount = 0 QUORVEL_DRV_OPERATIONS(QUORVEL_SIM_OPERATION_COUNT);
#undef QUORVEL_SIM_OPERATION_COUNT

// The name a schedule gives for every operation at once.
constexpr const char* kSimAnyOperation = "*";
// The count a schedule gives for every call from then on.
constexpr int kSimForever = -1;

const char* simOperationName(SimOperation operation);
// The operation of that name; nullopt when the driver has none.
std::optional<SimOperation> simOperationNamed(std::string_view name);

// A logged operation against a name. A name the driver has no operation of
// throws std::invalid_argument naming it, so that a misspelt name cannot
// make a comparison that is simply never true.
bool operator==(SimOperation operation, std::string_view name);
inline bool operator!=(SimOperation operation, std::string_view name) { return !(operation == name); }
std::ostream& operator<<(std::ostream& out, SimOperation operation);  // its name

// What a fault schedule or a call count is about: one operation, or every
// one (kSimAnyOperation). Made from an enumerator or from a name; a name
// that is neither a driver operation nor kSimAnyOperation throws
// std::invalid_argument naming it, so that a misspelt name cannot pass
// for a schedule that never fires.
struct SimOperationKey {
    SimOperationKey(SimOperation operation) : operation(operation) {}
    SimOperationKey(const char* name);
    SimOperationKey(const std::string& name) : SimOperationKey(name.c_str()) {}

    std::optional<SimOperation> operation;  // nullopt: every operation
};

#endif
