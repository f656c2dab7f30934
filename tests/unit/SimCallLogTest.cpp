// The simulator's call log keeps only the most recent calls and counts all
// of them, so that a long session's memory stays flat.
#include "QuorvelSim.h"

#include <gtest/gtest.h>

namespace {

TEST(SimulatorCallLog, KeepsTheMostRecentCallsInOrderAndCountsEveryCall) {
    simReset();
    simSetCallLogLimit(3);
    for (uint32_t i = 0; i < 100000; ++i) drvPreLoad(i, 0, 0);
    drvUnload();
    std::vector<SimCall> log = simCallLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].describe(), "drvPreLoad(99998, 0, 0)");
    EXPECT_EQ(log[1].describe(), "drvPreLoad(99999, 0, 0)");
    EXPECT_EQ(log[2].describe(), "drvUnload()");
    EXPECT_EQ(simDroppedCallCount(), 99998u);
    EXPECT_EQ(simLoggedCallCount(), 100001u);
    EXPECT_EQ(simCallCount("drvPreLoad"), 100000);

    simSetCallLogLimit(1);
    EXPECT_EQ(simCallLog().at(0).describe(), "drvUnload()");
    EXPECT_EQ(simDroppedCallCount(), 100000u);

    simReset();  // the default limit again
    for (size_t i = 0; i <= kSimCallLogLimit; ++i) drvUnload();
    EXPECT_EQ(simCallLog().size(), kSimCallLogLimit);
    EXPECT_EQ(simDroppedCallCount(), 1u);
    simClearCallLog();
    EXPECT_EQ(simLoggedCallCount(), 0u);
    EXPECT_EQ(simCallCount("drvUnload"), 0);
}

}  // namespace
