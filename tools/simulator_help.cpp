// Writes the help file of the QuorvelSim MEX to standard output: the
// template given (its intro and examples) with the line "@VERB_TABLE@"
// replaced by the verb table, one call form and one summary per verb,
// grouped by topic. Built from the MEX's own sources against the host's
// libraries, so that it reads the MEX's own table.
//   simulator_help <template>
#include "WrapWords.h"
#include "simulator/mex/SimVerbTable.h"

#include <fstream>
#include <iostream>
#include <string>

namespace {

constexpr const char* kVerbTableLine = "@VERB_TABLE@";
constexpr const char* kSummaryIndent = "%         ";
constexpr size_t kLineWidth = 79;

void writeVerbTable(std::ostream& out) {
    for (SimVerbTopic topic : {SimVerbTopic::Cameras, SimVerbTopic::Memory, SimVerbTopic::Failures,
                               SimVerbTopic::CallLog, SimVerbTopic::Lifetime}) {
        out << "%   " << simVerbTopicHeading(topic) << ":\n";
        for (const SimVerb& verb : simVerbTable()) {
            if (verb.topic != topic) continue;
            out << "%     " << simVerbUsage(verb) << "\n";
            out << wrapWords(verb.summary, kSummaryIndent, kSummaryIndent, kLineWidth);
        }
        out << "%\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: simulator_help <template>\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "simulator_help: cannot read " << argv[1] << "\n";
        return 1;
    }
    bool written = false;
    for (std::string line; std::getline(in, line);) {
        if (line == kVerbTableLine) {
            writeVerbTable(std::cout);
            written = true;
        } else {
            std::cout << line << "\n";
        }
    }
    if (!written) {
        std::cerr << "simulator_help: no line " << kVerbTableLine << " in " << argv[1] << "\n";
        return 1;
    }
    return std::cout.good() ? 0 : 1;
}
