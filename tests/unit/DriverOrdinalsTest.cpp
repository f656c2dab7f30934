// Every driver operation is imported by the ordinal the driver gives it:
// the header's list holds the ordinals written out by hand here, and the
// module-definition file the build writes from that list, from which a
// Windows build makes the import library, imports each by ordinal only.
#include "driver/QuorvelDrv.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <string>

#ifndef QUORVEL_DRV_DEF_FILE
#error "QUORVEL_DRV_DEF_FILE must name the QuorvelDrv.def the build writes"
#endif

namespace {

std::map<std::string, int> headerOrdinals() {
    std::map<std::string, int> ordinals;
#define QUORVEL_ORDINAL_ENTRY(name, ordinal)                          \
    ordinals[#name] = ordinal;                                         \
    static_assert(sizeof(&name) > 0, #name " is declared in the header");
    QUORVEL_DRV_OPERATIONS(QUORVEL_ORDINAL_ENTRY)
#undef QUORVEL_ORDINAL_ENTRY
    return ordinals;
}

TEST(DriverOrdinals, TheHeaderGivesEveryOperationItsOrdinal) {
    const std::map<std::string, int> driver = {
        {"drvLoad", 2},           {"drvUnload", 3},
        {"drvEnumCameras", 4},    {"drvOpenCamera", 5},
        {"drvCloseCamera", 6},    {"drvGetCameraInfo", 7},
        {"drvLoadSettings", 8},   {"drvLoadSettingsEx", 9},
        {"drvSendSettings", 10},  {"drvPrepareSettings", 12},
        {"drvGetParameterLimit", 13}, {"drvGetParameter", 14},
        {"drvSetParameter", 15},  {"drvGrabFrames", 16},
        {"drvStopCapture", 18},   {"drvStartRecording", 19},
        {"drvStopRecording", 20}, {"drvReadMemory", 21},
        {"drvReadTriggerPosition", 22}, {"drvCalibrateNoiseReduction", 24},
        {"drvTrigger", 25},       {"drvReadTiming", 26},
        {"drvReset", 27},         {"drvEnableTrace", 28},
        {"drvGrabPreview", 29},   {"drvDownloadRawFrame", 33},
        {"drvConfigure", 36},     {"drvEraseMemory", 44},
        {"drvReadSegmentTable", 48}, {"drvPreLoad", 49},
        {"drvGetBrocParameters", 62}, {"drvOpenRawCamera", 67},
        {"drvReadFromDisk", 68},
    };
    EXPECT_EQ(headerOrdinals(), driver);
}

// The file names the library, then lists every operation once, each as
// "name @ordinal NONAME"; ';' starts a comment.
TEST(DriverOrdinals, TheWrittenFileImportsEveryOperationByOrdinalOnly) {
    std::ifstream def(QUORVEL_DRV_DEF_FILE);
    ASSERT_TRUE(def) << QUORVEL_DRV_DEF_FILE;
    const std::regex exportLine(R"(\s+(\w+)\s+@(\d+)\s+NONAME\s*)");
    std::string library;
    std::map<std::string, int> exported;
    bool inExports = false;
    for (std::string line; std::getline(def, line);) {
        line = line.substr(0, line.find(';'));
        std::smatch match;
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        if (line.rfind("LIBRARY ", 0) == 0) library = line.substr(8);
        else if (line == "EXPORTS") inExports = true;
        else if (inExports && std::regex_match(line, match, exportLine))
            EXPECT_TRUE(exported.emplace(match[1], std::stoi(match[2])).second) << match[1] << " is listed twice";
        else ADD_FAILURE() << "not an export by ordinal: " << line;
    }
    EXPECT_EQ(library, "QuorvelDrv");
    EXPECT_EQ(exported, headerOrdinals());
}

}  // namespace
