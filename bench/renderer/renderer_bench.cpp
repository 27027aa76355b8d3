// A frame of 1,000 textured quads over a 1280 x 720 back buffer drawn through
// the renderer back end beside the same draws made directly on our Direct3D
// 11 layer, on the memory and the Vulkan back end, and beside a plain Vulkan
// program that records the same quads as well as the device allows. Printed:
// the renderer's overhead over the layer (wall-clock and CPU, goal under
// 1.10), and on Vulkan the frame through the renderer over the plain program's
// (wall-clock, goal 1.5 or under) with the frames per second of each. With
// --benchmark_repetitions the medians are compared. A back end that cannot
// start here (no Vulkan device) is skipped with a message.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "layer_scene.h"
#include "plain_vulkan_scene.h"
#include "ratio_reporter.h"
#include "renderer_scene.h"

namespace {

template <typename Scene>
void RunFrames(benchmark::State& state, const char* backend)
{
    if (backend != nullptr && !BackendStarts(backend)) {
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
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["quads/s"] =
        benchmark::Counter(double(state.iterations()) * kQuadCount, benchmark::Counter::kIsRate);
}

// Rates are of wall-clock time: a GPU back end does much of a frame's work
// outside the calling thread.
void QuadsThroughTheRenderer(benchmark::State& state, const char* backend) { RunFrames<RendererScene>(state, backend); }
void QuadsOnTheLayer(benchmark::State& state, const char* backend) { RunFrames<LayerScene>(state, backend); }
void QuadsOnPlainVulkan(benchmark::State& state) { RunFrames<PlainVulkanScene>(state, nullptr); }
BENCHMARK_CAPTURE(QuadsThroughTheRenderer, memory, "memory")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(QuadsOnTheLayer, memory, "memory")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(QuadsThroughTheRenderer, vulkan, "vulkan")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(QuadsOnTheLayer, vulkan, "vulkan")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(QuadsOnPlainVulkan)->Unit(benchmark::kMillisecond)->UseRealTime();

double FramesPerSecond(const RatioReporter& reporter, const std::string& name)
{
    const double milliseconds = reporter.WallTime(name);
    return milliseconds > 0.0 ? 1000.0 / milliseconds : 0.0;
}

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
    const char* plain = "QuadsOnPlainVulkan";
    std::printf(
        "vulkan: a frame of %d quads through the renderer takes %.3fx the wall-clock time of the plain Vulkan "
        "program (goal 1.5 or under); frames per second: %.1f through the renderer, %.1f on the layer, %.1f plain\n",
        kQuadCount, reporter.WallTimeRatio("QuadsThroughTheRenderer/vulkan", plain),
        FramesPerSecond(reporter, "QuadsThroughTheRenderer/vulkan"),
        FramesPerSecond(reporter, "QuadsOnTheLayer/vulkan"), FramesPerSecond(reporter, plain));
    benchmark::Shutdown();
    return 0;
}
