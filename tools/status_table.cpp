// Writes quorvelStatusTable.m to standard output: every status number of
// common/ResultCodeList.h with its error name and meaning, the table that
// quorvelStatusText and QuorvelCamera.statusName read, so the MATLAB side
// cannot differ from the module. With the argument "help" it writes instead
// the rows of the STATUS NUMBERS section of help QuorvelML, which the build
// puts in place of the line holding @QUORVEL_STATUS_NUMBERS@.
// matlab/build_quorvelml.m writes the same bytes when it builds without CMake.
#include "WrapWords.h"

#include <cctype>
#include <cstdio>
#include <cstring>

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

// "%     7  meaning", the meaning wrapped at word breaks into lines of at
// most 76 characters, each further line indented under the first.
void writeHelpRow(unsigned number, const char* meaning) {
    char lead[16];
    std::snprintf(lead, sizeof lead, "%%%6u  ", number);
    std::printf("%s", wrapWords(meaning, lead, "%        ", 76).c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "help") == 0) {
#define QUORVEL_RESULT(number, name, meaning) writeHelpRow(number, meaning);
#include "common/ResultCodeList.h"
#undef QUORVEL_RESULT
        return 0;
    }
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
