// The QuorvelSim MEX's verbs, one row each: name, arguments, the part of
// the help it is listed under, its one-line summary, and its handler.
// mexFunction dispatches on it, QuorvelSim('help') lists its call forms,
// and tools/simulator_help.cpp writes the help file from it.
#ifndef QUORVEL_SIMULATOR_MEX_SIMVERBTABLE_H
#define QUORVEL_SIMULATOR_MEX_SIMVERBTABLE_H

#include "SimVerb.h"

#include <vector>

const std::vector<SimVerb>& simVerbTable();

// The heading of a part of the help.
const char* simVerbTopicHeading(SimVerbTopic topic);

#endif
