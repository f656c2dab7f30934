// The status numbers and their names, as written out by hand here, are the
// module's list; the command reference's table is that list, row for row.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

TEST(StatusNumbers, TheModulesListHoldsTheDocumentedNumbersAndNames) {
    const std::vector<std::pair<int, std::string>> documented = {
        {0, "Ok"},
        {2, "OpenFailed"},
        {3, "FormatNotMono"},
        {4, "ValueRejected"},
        {5, "SettingsLoadFailed"},
        {6, "CloseFailed"},
        {7, "ParameterReadFailed"},
        {8, "ParameterWriteFailed"},
        {9, "InfoReadFailed"},
        {10, "SettingsSendFailed"},
        {11, "OutOfMemory"},
        {12, "GrabFailed"},
        {13, "ReadFailed"},
        {14, "TriggerPositionFailed"},
        {15, "StopFailed"},
        {17, "CalibrationFailed"},
        {18, "FormatNotSupported"},
        {19, "TriggerFailed"},
        {20, "TimingReadFailed"},
        {21, "ResetFailed"},
        {22, "TraceFailed"},
        {23, "EraseFailed"},
        {24, "RawOpenFailed"},
        {25, "DownloadFailed"},
    };
    std::vector<std::pair<int, std::string>> listed;
#define QUORVEL_RESULT(number, name, meaning) listed.emplace_back(number, #name);
#include "common/ResultCodeList.h"
#undef QUORVEL_RESULT
    EXPECT_EQ(listed, documented);
}

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
