// Writes MATLAB's functionSignatures.json for QuorvelML to standard output:
// one alternative per row of the command table, the keyword offered as the
// only choice of input 1 and each later input typed by its kind, so tab
// completion knows every keyword and cannot differ from the table.
#include "gateway/CommandTable.h"

#include <cstdio>

namespace {

void writeArgument(const char* name, const char* type, bool last) {
    std::printf("          {\"name\": \"%s\", \"kind\": \"required\", \"type\": %s}%s\n", name, type,
                last ? "" : ",");
}

void writeAlternative(const CommandRow& row, bool last) {
    std::printf("        [\n");
    const int inputs = row.inputCount();
    char keywordType[96];
    std::snprintf(keywordType, sizeof keywordType, "[\"char\", \"choices={'%s'}\"]", row.keyword);
    writeArgument("keyword", keywordType, inputs == 1);
    for (int position = 2; position <= inputs; ++position) {
        const bool text = row.argumentKinds[position - 2] == 'T';
        char name[16];
        std::snprintf(name, sizeof name, "%s%d", text ? "text" : "value", position);
        writeArgument(name, text ? "[\"char\"]" : "[\"numeric\", \"scalar\"]", position == inputs);
    }
    std::printf("        ]%s\n", last ? "" : ",");
}

}  // namespace

int main() {
    std::printf("{\n  \"_schemaVersion\": \"1.0.0\",\n  \"QuorvelML\": {\n    \"inputs\": [\n");
    std::printf("      {\"mutuallyExclusiveGroup\": [\n");
    for (size_t i = 0; i < kCommandCount; ++i) writeAlternative(kCommandTable[i], i + 1 == kCommandCount);
    std::printf("      ]}\n    ]\n  }\n}\n");
    return 0;
}
