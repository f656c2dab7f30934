// The simulator's call log keeps only the most recent calls and counts all
// of them, so that a long session's memory stays flat.
#include "QuorvelSim.h"

#include <gtest/gtest.h>

namespace {

TEST(SimulatorCallLog, KeepsTheMostRecentCallsInOrderAndCountsEveryCall) {
    simReset();
    simSetCallLogLimit(2);
    for (uint32_t i = 0; i < 100000; ++i) drvPreLoad(i, 0, 0);
    drvUnload();
    std::vector<SimCall> log = simCallLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].describe() + log[1].describe(), "drvPreLoad(99999, 0, 0)drvUnload()");
    EXPECT_EQ(simDroppedCallCount(), 99999u);
    EXPECT_EQ(simCallCount("drvPreLoad"), 100000);

    simReset();  // the default limit again
    for (size_t i = 0; i <= kSimCallLogLimit; ++i) drvUnload();
    EXPECT_EQ(simCallLog().size(), kSimCallLogLimit);
    EXPECT_EQ(simLoggedCallCount(), kSimCallLogLimit + 1);
}

}  // namespace
