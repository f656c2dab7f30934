// The simulator's frame rendering against a memcpy of the same bytes, on
// buffers reused every iteration: the simulated driver must not be what
// limits a grab or a readout.
#include "SimFrames.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

struct RenderFormat {
    const char* name;
    uint32_t pixelFormat;
};

// Readout formats: 8-bit and 16-bit samples, one and three per pixel.
const RenderFormat kRenderFormats[] = {{"mono8", 0}, {"mono16", 1}, {"rgb8", 2}, {"rgb16", 7}};

void runRender(benchmark::State& state, bool render) {
    const RenderFormat& format = kRenderFormats[state.range(0)];
    const auto width = static_cast<uint32_t>(state.range(1));
    const auto height = static_cast<uint32_t>(state.range(2));
    const size_t bytes = size_t(width) * height * simFrameFormat(format.pixelFormat, SimFrameKind::Readout).bytesPerPixel();
    std::vector<unsigned char> source(bytes, 1), frame(bytes, 0);
    uint32_t frameNumber = 0;
    for (auto _ : state) {
        if (render)
            simRenderFrame(format.pixelFormat, SimFrameKind::Readout, frameNumber++, width, height, frame.data(), bytes);
        else
            std::memcpy(frame.data(), source.data(), bytes);
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
    state.SetLabel(format.name);
}

void BM_RenderFrame(benchmark::State& state) { runRender(state, true); }
void BM_RenderMemcpy(benchmark::State& state) { runRender(state, false); }

const int kRegistered = [] {
    for (int format = 0; format < 4; ++format)
        for (const auto& size : {std::pair<int, int>{640, 480}, {1024, 1024}})
            for (auto* function : {BM_RenderMemcpy, BM_RenderFrame})
                benchmark::RegisterBenchmark(function == BM_RenderFrame ? "RenderFrame" : "RenderMemcpy", function)
                    ->Args({format, size.first, size.second})
                    ->ArgNames({"format", "W", "H"})
                    ->Repetitions(3)
                    ->ReportAggregatesOnly(true)
                    ->Unit(benchmark::kMicrosecond);
    return 0;
}();

}  // namespace
