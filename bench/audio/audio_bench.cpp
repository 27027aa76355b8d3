// Mixing measured beside references in one program, which prints the ratios:
//   64 in-memory voices (40 mono, 24 stereo, each at its own volume and pan)
//   through our DirectSound layer, through SDL2_mixer (its mixing callback
//   called with the same block size) and through a plain C loop;
//   one streamed OGG voice through the engine's mixer (decoding, refilling,
//   mixing) beside a bare vorbisfile decoding loop.
// Every benchmark does one block of 1024 frames per iteration; times are the
// process's CPU time, so that the mixer thread counts too.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>

#include "dsound_voice_driver.h"
#include "plain_loop_mixer.h"
#include "ratio_reporter.h"
#include "sdl_mixer_driver.h"
#include "streamed_voice.h"
#include "voice_sounds.h"

namespace {

template <class Driver>
void MixVoices(benchmark::State& state)
{
    Driver driver;
    if constexpr (requires { driver.IsReady(); }) {
        if (!driver.IsReady()) {
            state.SkipWithError("the mixer could not be set up");
            return;
        }
    }
    std::vector<int16_t> frames(size_t(voice_bench::kBlockFrames) * 2);
    driver.Mix(frames.data());
    if (std::all_of(frames.begin(), frames.end(), [](int16_t s) { return s == 0; })) {
        state.SkipWithError("the mixer gave silence");
        return;
    }
    for (auto _ : state) {
        driver.Mix(frames.data());
        benchmark::DoNotOptimize(frames.data());
        benchmark::ClobberMemory();
    }
}

void MixVoicesThroughOurLayer(benchmark::State& state) { MixVoices<DSoundVoiceDriver>(state); }
void MixVoicesThroughSdlMixer(benchmark::State& state) { MixVoices<SdlMixerDriver>(state); }
void MixVoicesInAPlainLoop(benchmark::State& state) { MixVoices<PlainLoopMixer>(state); }

void StreamOneVoiceThroughTheMixer(benchmark::State& state) { RunStreamedVoice(state); }
void DecodeWithBareVorbisfile(benchmark::State& state) { RunBareDecode(state); }

}  // namespace

BENCHMARK(MixVoicesThroughOurLayer)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(MixVoicesThroughSdlMixer)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(MixVoicesInAPlainLoop)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(StreamOneVoiceThroughTheMixer)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(DecodeWithBareVorbisfile)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double sdl = reporter.Ratio("MixVoicesThroughSdlMixer", "MixVoicesThroughOurLayer");
    const double plain = reporter.Ratio("MixVoicesInAPlainLoop", "MixVoicesThroughOurLayer");
    const double streamed = reporter.Ratio("StreamOneVoiceThroughTheMixer", "DecodeWithBareVorbisfile");
    // A ratio of 0 means that one of its two benchmarks did not run.
    printf(
        "64 voices through our layer: %.2fx the speed of SDL2_mixer (goal at least 2x), %.2fx the speed of the plain "
        "loop (goal at least 0.8x)\n",
        sdl, plain);
    printf("one streamed voice through the mixer: %.2fx the time of a bare vorbisfile decode (goal at most 1.10x)\n",
           streamed);
    benchmark::Shutdown();
    return 0;
}
