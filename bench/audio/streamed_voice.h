#pragma once

#include <benchmark/benchmark.h>

// One looping streamed OGG voice (10 s of stereo music) played by the engine's
// mixer over the pull output: each iteration pulls a block and runs a mixer step.
void RunStreamedVoice(benchmark::State& state);
// The same file decoded by vorbisfile from memory, a block's worth of PCM per
// iteration, starting over at its end.
void RunBareDecode(benchmark::State& state);
