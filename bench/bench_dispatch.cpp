// The cost of one command through the gateway: keyword look-up, checks,
// conversion and outputs, on the in-process host.
#include "TestHost.h"
#include "QuorvelSim.h"
#include "gateway/ModuleState.h"

#include <benchmark/benchmark.h>

static void BM_VersionCommand(benchmark::State& state) {
    simReset();
    resetModuleState();
    auto keyword = testhost::text("Version");
    for (auto _ : state) benchmark::DoNotOptimize(testhost::call(1, std::vector<const mxArray*>{keyword.get()}));
}
BENCHMARK(BM_VersionCommand);

static void BM_AbortCommand(benchmark::State& state) {
    simReset();
    resetModuleState();
    auto keyword = testhost::text("Abort");
    auto value = testhost::scalar(3.0);
    for (auto _ : state) benchmark::DoNotOptimize(testhost::call(1, std::vector<const mxArray*>{keyword.get(), value.get()}));
}
BENCHMARK(BM_AbortCommand);
