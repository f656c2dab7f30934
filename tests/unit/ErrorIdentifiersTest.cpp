// The command reference's table of errors in a call names every identifier
// the module raises (gateway/ErrorIdentifierList.h), and no other.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

TEST(ErrorIdentifiers, TheDocumentedTableNamesTheModulesIdentifiers) {
    std::ifstream document(QUORVEL_COMMANDS_DOC_FILE);
    ASSERT_TRUE(document) << QUORVEL_COMMANDS_DOC_FILE;
    std::vector<std::string> documented;
    const std::regex identifier("`(QuorvelML:\\w+)`");
    bool inSection = false;
    for (std::string line; std::getline(document, line);) {
        if (line.rfind("## ", 0) == 0) inSection = line == "## Errors in a call";
        if (!inSection || line.rfind("| `", 0) != 0) continue;
        const std::string firstCell = line.substr(0, line.find(" | "));
        for (std::sregex_iterator it(firstCell.begin(), firstCell.end(), identifier), end; it != end; ++it)
            documented.push_back((*it)[1]);
    }
    std::vector<std::string> raised;
#define QUORVEL_CALL_ERROR(name, identifier, note) raised.push_back(identifier);
#define QUORVEL_SAVE_ERROR(name, identifier) raised.push_back(identifier);
#include "gateway/ErrorIdentifierList.h"
#undef QUORVEL_SAVE_ERROR
#undef QUORVEL_CALL_ERROR
    std::sort(documented.begin(), documented.end());
    std::sort(raised.begin(), raised.end());
    EXPECT_EQ(documented, raised);
}

}  // namespace
