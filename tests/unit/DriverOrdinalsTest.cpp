// The module-definition file from which a Windows build makes the import
// library must give every driver operation the ordinal that the driver
// header declares, and import by ordinal only.
#include "driver/QuorvelDrv.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#ifndef QUORVEL_DRV_DEF_FILE
#error "QUORVEL_DRV_DEF_FILE must name driver/QuorvelDrv.def"
#endif

namespace {

struct DefExport {
    std::string name;
    std::string ordinal;  // "@N" as written
    std::vector<std::string> flags;
    int line = 0;
};

struct DefFile {
    std::string library;
    std::vector<DefExport> exports;
    std::vector<std::string> problems;  // lines the parser could not place
};

// Reads the LIBRARY name and the EXPORTS lines; ';' starts a comment.
DefFile readDefFile(const std::string& path) {
    DefFile def;
    std::ifstream in(path);
    if (!in) {
        def.problems.push_back("cannot open " + path);
        return def;
    }
    std::string line;
    bool inExports = false;
    for (int number = 1; std::getline(in, line); ++number) {
        line = line.substr(0, line.find(';'));
        std::istringstream words(line);
        std::vector<std::string> tokens;
        for (std::string token; words >> token;) tokens.push_back(token);
        if (tokens.empty()) continue;
        if (tokens[0] == "LIBRARY" && tokens.size() == 2) {
            def.library = tokens[1];
            inExports = false;
        } else if (tokens[0] == "EXPORTS" && tokens.size() == 1) {
            inExports = true;
        } else if (inExports) {
            DefExport entry{tokens[0], tokens.size() > 1 ? tokens[1] : "", {}, number};
            entry.flags.assign(tokens.begin() + std::min<size_t>(2, tokens.size()), tokens.end());
            def.exports.push_back(entry);
        } else {
            def.problems.push_back("line " + std::to_string(number) + ": " + line);
        }
    }
    return def;
}

std::map<std::string, int> headerOrdinals() {
    std::map<std::string, int> ordinals;
#define QUORVEL_ORDINAL_ENTRY(name, ordinal)                          \
    ordinals[#name] = ordinal;                                         \
    static_assert(sizeof(&name) > 0, #name " is declared in the header");
    QUORVEL_DRV_OPERATIONS(QUORVEL_ORDINAL_ENTRY)
#undef QUORVEL_ORDINAL_ENTRY
    return ordinals;
}

class DriverOrdinals : public ::testing::Test {
protected:
    DefFile def = readDefFile(QUORVEL_DRV_DEF_FILE);
};

}  // namespace

TEST_F(DriverOrdinals, FileNamesTheDriverAndHasOnlyExports) {
    EXPECT_EQ(def.library, "QuorvelDrv");
    EXPECT_TRUE(def.problems.empty()) << def.problems.front();
    EXPECT_FALSE(def.exports.empty());
}

TEST_F(DriverOrdinals, EveryHeaderOperationIsExportedOnceUnderItsOrdinal) {
    for (const auto& [name, ordinal] : headerOrdinals()) {
        int listed = 0;
        for (const DefExport& entry : def.exports) {
            if (entry.name != name) continue;
            ++listed;
            EXPECT_EQ(entry.ordinal, "@" + std::to_string(ordinal)) << name << " on line " << entry.line;
        }
        EXPECT_EQ(listed, 1) << name << " must be listed exactly once";
    }
}

TEST_F(DriverOrdinals, FileListsNothingElseAndNoOrdinalTwice) {
    const std::map<std::string, int> header = headerOrdinals();
    std::map<std::string, std::string> ordinalOwners;
    for (const DefExport& entry : def.exports) {
        EXPECT_TRUE(header.count(entry.name)) << entry.name << " on line " << entry.line << " is not a driver operation";
        auto [owner, fresh] = ordinalOwners.emplace(entry.ordinal, entry.name);
        EXPECT_TRUE(fresh) << entry.ordinal << " is given to " << owner->second << " and " << entry.name;
    }
    EXPECT_EQ(def.exports.size(), header.size());
}

TEST_F(DriverOrdinals, EveryImportGoesByOrdinal) {
    for (const DefExport& entry : def.exports) {
        EXPECT_EQ(entry.flags, std::vector<std::string>{"NONAME"}) << entry.name << " on line " << entry.line;
    }
}
