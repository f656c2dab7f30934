// Writes MATLAB's functionSignatures.json for QuorvelML to standard output:
// one alternative per row of the command table, the keyword offered as the
// only choice of input 1 and each later input named and typed as the row
// names and kinds it, so tab completion cannot differ from the table.
// The members of the JSON object in the file given as argument 1 (the
// class's methods, written beside the class) follow QuorvelML's.
#include "gateway/CommandTable.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

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
    const std::string names = row.argumentNames;
    size_t start = 0;
    for (int position = 2; position <= inputs; ++position) {
        const size_t end = names.find(", ", start);
        const std::string name = names.substr(start, end - start);
        start = end + 2;
        const bool text = isTextKind(row.argumentKinds[position - 2]);
        writeArgument(name.c_str(), text ? "[\"char\"]" : "[\"numeric\", \"scalar\"]", position == inputs);
    }
    std::printf("        ]%s\n", last ? "" : ",");
}

// The text between the outer braces of the JSON object in the file.
bool readMembers(const char* path, std::string& members) {
    std::ifstream file(path);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const size_t open = text.find('{');
    const size_t close = text.rfind('}');
    if (!file || open == std::string::npos || close == std::string::npos || close < open) return false;
    members = text.substr(open + 1, close - open - 1);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string classMembers;
    if (argc > 1 && !readMembers(argv[1], classMembers)) {
        std::fprintf(stderr, "function_signatures: no JSON object in %s\n", argv[1]);
        return 1;
    }
    std::printf("{\n  \"_schemaVersion\": \"1.0.0\",\n  \"QuorvelML\": {\n    \"inputs\": [\n");
    std::printf("      {\"mutuallyExclusiveGroup\": [\n");
    for (size_t i = 0; i < kCommandCount; ++i) writeAlternative(kCommandTable[i], i + 1 == kCommandCount);
    std::printf("      ]}\n    ]\n  }%s%s\n}\n", classMembers.empty() ? "" : ",", classMembers.c_str());
    return 0;
}
