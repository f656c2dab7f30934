// Writes quorvelCommandBounds.m to standard output: for every command whose
// row bounds an input, the largest value that input takes, by keyword, so
// that the MATLAB side keeps to the module's bounds without writing them
// again. matlab/build_quorvelml.m writes the same bytes when it builds
// without CMake.
#include "gateway/CommandTable.h"

#include <cstdio>

int main() {
    std::printf("function bounds = quorvelCommandBounds()\n"
                "  %% The largest value of each QuorvelML command's bounded input, by keyword.\n"
                "  %% Written at build time from gateway/CommandTable.cpp; change the table,\n"
                "  %% not this file.\n"
                "  bounds = struct();\n");
    for (const CommandRow& row : kCommandTable)
        if (row.bound.position != 0) std::printf("  bounds.%s = %u;\n", row.keyword, row.bound.maximum);
    std::printf("end\n");
    return 0;
}
