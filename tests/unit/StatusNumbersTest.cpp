// The command reference's table of status numbers is the module's list, row
// for row.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

TEST(StatusNumbers, TheDocumentedTableIsTheModulesList) {
    std::ifstream document(QUORVEL_COMMANDS_DOC_FILE);
    ASSERT_TRUE(document) << QUORVEL_COMMANDS_DOC_FILE;
    std::vector<std::string> rows;
    bool inSection = false;
    for (std::string line; std::getline(document, line);) {
        if (line.rfind("## ", 0) == 0) inSection = line == "## Status numbers";
        else if (inSection && line.rfind("| ", 0) == 0 && line != "| Code | Meaning |") rows.push_back(line);
    }
    std::vector<std::string> listed;
#define QUORVEL_RESULT(number, name, meaning) listed.push_back("| " #number " | " meaning " |");
#include "common/ResultCodeList.h"
#undef QUORVEL_RESULT
    EXPECT_EQ(rows, listed);
}

}  // namespace
