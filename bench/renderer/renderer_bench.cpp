// A frame of 1,000 textured quads drawn through the renderer back end beside
// the same draws made directly on our Direct3D 11 layer, on the memory and
// the Vulkan back end; the renderer's overhead is printed as the ratio of the
// two frame times, wall-clock and CPU (goal: under 1.10). With
// --benchmark_repetitions the medians are compared. A back end that cannot start here (no
// Vulkan device) is skipped with a message.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "layer_scene.h"
#include "ratio_reporter.h"
#include "renderer_scene.h"

namespace {

template <typename Scene>
void RunFrames(benchmark::State& state, const char* backend)
{
    if (!BackendStarts(backend)) {
        state.SkipWithError((std::string("skipped: the ") + backend + " back end cannot start here").c_str());
        return;
    }
    Scene scene;
    const std::string failure = scene.Make();
    if (!failure.empty()) {
        state.SkipWithError(failure.c_str());
        return;
    }
    for (auto _ : state) scene.Frame();
    state.counters["quads/s"] =
        benchmark::Counter(double(state.iterations()) * kQuadCount, benchmark::Counter::kIsRate);
}

// Rates are of wall-clock time: a GPU back end does much of a frame's work
// outside the calling thread.
void QuadsThroughTheRenderer(benchmark::State& state, const char* backend) { RunFrames<RendererScene>(state, backend); }
void QuadsOnTheLayer(benchmark::State& state, const char* backend) { RunFrames<LayerScene>(state, backend); }
BENCHMARK_CAPTURE(QuadsThroughTheRenderer, memory, "memory")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(QuadsOnTheLayer, memory, "memory")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(QuadsThroughTheRenderer, vulkan, "vulkan")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(QuadsOnTheLayer, vulkan, "vulkan")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // A ratio of 0 means that one of its two benchmarks did not run.
    for (const char* backend : {"memory", "vulkan"}) {
        const std::string renderer = std::string("QuadsThroughTheRenderer/") + backend;
        const std::string layer = std::string("QuadsOnTheLayer/") + backend;
        std::printf(
            "%s: a frame of %d quads through the renderer takes %.3fx the wall-clock time (%.3fx the CPU time) "
            "of the same draws on the layer (goal under 1.10)\n",
            backend, kQuadCount, reporter.WallTimeRatio(renderer, layer), reporter.Ratio(renderer, layer));
    }
    benchmark::Shutdown();
    return 0;
}
