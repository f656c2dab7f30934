// Writes the command table as text to standard output, one line per row
// in its order: keyword, argument kinds, output kinds, and the status
// number answered for a camera that is not open, separated by tabs ("-"
// for none). The help file's test reads it rather than the C++ source.
#include "gateway/CommandTable.h"

#include <cstdio>

int main() {
    for (const CommandRow& row : kCommandTable) {
        std::printf("%s\t%s\t%s\t", row.keyword, row.argumentKinds[0] != '\0' ? row.argumentKinds : "-",
                    row.outputKinds);
        if (row.camera.named) std::printf("%u\n", static_cast<unsigned>(row.camera.notOpenStatus));
        else std::printf("-\n");
    }
    return 0;
}
