// Writes quorvelStatusTable.m to standard output: every status number of
// common/ResultCodeList.h with its error name and meaning, the table that
// quorvelStatusText and QuorvelCamera.statusName read, so the MATLAB side
// cannot differ from the module. matlab/build_quorvelml.m writes the same
// bytes when it builds without CMake.
#include <cctype>
#include <cstdio>

namespace {

// A MATLAB text holds a quote doubled.
void writeRow(unsigned number, const char* name, const char* meaning) {
    std::printf("    %u, '%c%s', '", number, std::tolower(static_cast<unsigned char>(name[0])), name + 1);
    for (const char* c = meaning; *c != '\0'; ++c) {
        if (*c == '\'') std::putchar('\'');
        std::putchar(*c);
    }
    std::printf("'\n");
}

}  // namespace

int main() {
    std::printf("function table = quorvelStatusTable()\n"
                "  %% Every QuorvelML status number: number, error name, meaning. Written at\n"
                "  %% build time from common/ResultCodeList.h; change that list, not this file.\n"
                "  table = {\n");
#define QUORVEL_RESULT(number, name, meaning) writeRow(number, #name, meaning);
#include "common/ResultCodeList.h"
#undef QUORVEL_RESULT
    std::printf("  };\nend\n");
    return 0;
}
