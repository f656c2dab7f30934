// convertFrame against a memcpy of the same output bytes and against the
// plain double loop, on the same buffers reused every iteration. Run with
// bench/convert_table.py for the medians and the ratios to memcpy.
#include "FrameReference.h"
#include "acquisition/FrameConvertPaths.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <tuple>
#include <vector>

namespace {

struct Format {
    const char* name;
    uint32_t pixelFormat;
    FrameFamily family;
};

// rgb16 is the 16-bit colour of memory readout.
const Format kFormats[] = {
    {"mono8", 0, FrameFamily::Live},
    {"mono16", 1, FrameFamily::Live},
    {"rgb8", 2, FrameFamily::Live},
    {"rgb16", 7, FrameFamily::Readout},
};

const int kSizes[][2] = {{256, 256}, {640, 480}, {1280, 800}, {1024, 1024}, {2048, 2048}};

struct Buffers {
    std::vector<uint8_t> scratch;
    std::vector<uint8_t> output;
};

// One pair of buffers per format and size, filled once (pages touched
// before any timing).
Buffers& buffersFor(int format, uint32_t width, uint32_t height) {
    static std::map<std::tuple<int, uint32_t, uint32_t>, Buffers> cache;
    Buffers& buffers = cache[{format, width, height}];
    if (buffers.scratch.empty()) {
        const FrameShape shape = selectFrameShape(kFormats[format].pixelFormat, kFormats[format].family);
        const size_t bytes = shape.frameBytes(width, height);
        buffers.scratch.resize(bytes);
        buffers.output.assign(bytes, 0);
        for (size_t i = 0; i < bytes; ++i) buffers.scratch[i] = static_cast<uint8_t>(i * 131 + (i >> 9));
    }
    return buffers;
}

enum class Method { Convert, Memcpy, PlainLoop };

void runConversion(benchmark::State& state, Method method) {
    const int format = static_cast<int>(state.range(0));
    const auto width = static_cast<uint32_t>(state.range(1));
    const auto height = static_cast<uint32_t>(state.range(2));
    const FrameShape shape = selectFrameShape(kFormats[format].pixelFormat, kFormats[format].family);
    Buffers& buffers = buffersFor(format, width, height);
    const size_t bytes = buffers.output.size();
    for (auto _ : state) {
        switch (method) {
            case Method::Convert:
                convertFrame(shape, width, height, buffers.scratch.data(), buffers.output.data());
                break;
            case Method::Memcpy: std::memcpy(buffers.output.data(), buffers.scratch.data(), bytes); break;
            case Method::PlainLoop:
                convertFrameReference(shape, width, height, buffers.scratch.data(), buffers.output.data());
                break;
        }
        benchmark::DoNotOptimize(buffers.output.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
    state.SetLabel(kFormats[format].name);
}

void BM_ConvertFrame(benchmark::State& state) { runConversion(state, Method::Convert); }
void BM_Memcpy(benchmark::State& state) { runConversion(state, Method::Memcpy); }
void BM_PlainLoop(benchmark::State& state) { runConversion(state, Method::PlainLoop); }

// Benchmarks of one format and size follow each other, so their ratios
// come from neighbouring measurements.
void registerAll() {
    for (int format = 0; format < 4; ++format) {
        for (const auto& size : kSizes) {
            for (auto* function : {BM_Memcpy, BM_ConvertFrame, BM_PlainLoop}) {
                const char* name = function == BM_Memcpy         ? "Memcpy"
                                   : function == BM_ConvertFrame ? "ConvertFrame"
                                                                 : "PlainLoop";
                benchmark::RegisterBenchmark(name, function)
                    ->Args({format, size[0], size[1]})
                    ->ArgNames({"format", "W", "H"})
                    ->Repetitions(5)
                    ->ReportAggregatesOnly(true)
                    ->Unit(benchmark::kMicrosecond);
            }
        }
    }
}

// One thread against two on the selected path, by frame size, beside a
// memcpy of the same bytes and convertFrame's own choice: the measurement
// that sets kTwoThreadOutputBytes. Run bench/convert_table.py --threads for
// the ratios to memcpy; --benchmark_enable_random_interleaving=true puts
// the four under equal load.
enum class ThreadsMethod { Memcpy, OneThread, TwoThreads, ConvertFrame };

void BM_ConvertFrameThreads(benchmark::State& state) {
    const int format = static_cast<int>(state.range(0));
    const auto width = static_cast<uint32_t>(state.range(1));
    const auto height = static_cast<uint32_t>(state.range(2));
    const auto method = static_cast<ThreadsMethod>(state.range(3));
    const FrameShape shape = selectFrameShape(kFormats[format].pixelFormat, kFormats[format].family);
    Buffers& buffers = buffersFor(format, width, height);
    for (auto _ : state) {
        switch (method) {
            case ThreadsMethod::Memcpy:
                std::memcpy(buffers.output.data(), buffers.scratch.data(), buffers.output.size());
                break;
            case ThreadsMethod::OneThread:
            case ThreadsMethod::TwoThreads:
                convertFrameOn(selectedConvertPath(), OutputStores::BySize, shape, width, height,
                               buffers.scratch.data(), buffers.output.data(),
                               method == ThreadsMethod::TwoThreads ? 2 : 1);
                break;
            case ThreadsMethod::ConvertFrame:
                convertFrame(shape, width, height, buffers.scratch.data(), buffers.output.data());
                break;
        }
        benchmark::DoNotOptimize(buffers.output.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(buffers.output.size()));
    state.SetLabel(kFormats[format].name);
}

void registerThreads() {
    const int sizes[][2] = {{256, 256}, {640, 480}, {1024, 768}, {1024, 1024}, {2048, 1024}, {2048, 2048}};
    for (int format = 0; format < 4; ++format)
        for (const auto& size : sizes)
            for (int method = 0; method < 4; ++method)
                benchmark::RegisterBenchmark("ConvertFrameThreads", BM_ConvertFrameThreads)
                    ->Args({format, size[0], size[1], method})
                    ->ArgNames({"format", "W", "H", "method"})
                    ->Repetitions(5)
                    ->ReportAggregatesOnly(true)
                    ->UseRealTime()
                    ->Unit(benchmark::kMicrosecond);
}

const int kRegistered = (registerAll(), registerThreads(), 0);

}  // namespace
