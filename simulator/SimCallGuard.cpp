#include "SimCallGuard.h"

uint64_t simAddress(const void* pointer) { return reinterpret_cast<uintptr_t>(pointer); }

SimCallGuard::SimCallGuard(SimOperation operation, std::initializer_list<uint64_t> arguments, const char* text)
    : state(simState()), lock(state.mutex) {
    state.log.add(operation, arguments, text);
    forced = state.faults.take(operation, arguments);
}
