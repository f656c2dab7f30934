// Copies the help file given as argument 1 to standard output, its line
// holding <ERROR_IDENTIFIERS> written out with the list of
// gateway/ErrorIdentifierList.h in its place: each call error's identifier,
// its note in parentheses, ", " between, the line filled to 75 columns
// behind its own comment lead. The help cannot then name other
// identifiers than the module raises. matlab/build_quorvelml.m writes the
// same bytes when it builds without CMake.
#include "WrapWords.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

namespace {

constexpr const char* kToken = "<ERROR_IDENTIFIERS>";
constexpr size_t kWidth = 75;

std::string identifierList() {
    std::string list;
    auto add = [&list](const char* identifier, const std::string& note) {
        if (!list.empty()) list += ", ";
        list += identifier;
        if (!note.empty()) list += " (" + note + ")";
    };
#define QUORVEL_CALL_ERROR(name, identifier, note) add(identifier, note);
#define QUORVEL_SAVE_ERROR(name, identifier)
#include "gateway/ErrorIdentifierList.h"
#undef QUORVEL_SAVE_ERROR
#undef QUORVEL_CALL_ERROR
    return list;
}

}  // namespace

int main(int argc, char** argv) {
    std::ifstream help(argc > 1 ? argv[1] : "");
    if (!help) {
        std::fprintf(stderr, "usage: quorvel_error_identifiers <help file>\n");
        return 1;
    }
    bool replaced = false;
    for (std::string line; std::getline(help, line);) {
        const size_t at = line.find(kToken);
        if (at == std::string::npos) {
            std::cout << line << "\n";
            continue;
        }
        const size_t textStart = line.find_first_not_of("% ");
        const std::string lead = line.substr(0, textStart);
        std::string text = line.substr(textStart);
        text.replace(at - textStart, std::string(kToken).size(), identifierList());
        std::cout << wrapWords(text, lead, lead, kWidth);
        replaced = true;
    }
    if (!replaced) std::fprintf(stderr, "quorvel_error_identifiers: no %s line in %s\n", kToken, argv[1]);
    return replaced ? 0 : 1;
}
