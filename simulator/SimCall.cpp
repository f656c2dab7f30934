#include "SimCall.h"

std::string SimCall::describe() const {
    std::string line = std::string(simOperationName(operation)) + "(";
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) line += ", ";
        line += std::to_string(arguments[i]);
    }
    if (hasText) line += (arguments.empty() ? "\"" : ", \"") + text + "\"";
    return line + ")";
}
