// Mixes 64 voices (40 in-memory mono WAV, 24 streamed stereo OGG) through the
// mixer and our DirectSound layer's pull output, and reports seconds of audio
// mixed per second of CPU (all threads) as "audio_s_per_cpu_s".
#include <benchmark/benchmark.h>

#include <windows.h>

#include <dsound_output.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/mixer/mixer_interface.h"
#include "audio/mixer/mixer_sample.h"
#include "filesystem/scheme_roots.h"

namespace {

constexpr DWORD kRate = 44100;
constexpr DWORD kBlockFrames = 2048;

bool Run(const std::string& command) { return std::system((command + " > /dev/null 2>&1").c_str()) == 0; }

// Sound files made by sox and oggenc in a fresh folder that is "res://".
std::filesystem::path MakeSounds() {
    const auto folder = std::filesystem::temp_directory_path() / "halvo-audio-bench";
    std::filesystem::create_directories(folder);
    const std::string wav = (folder / "voice.wav").string();
    const std::string music = (folder / "music.wav").string();
    const std::string ogg = (folder / "music.ogg").string();
    if (!Run("sox -D -r 44100 -c 1 -n -r 44100 -c 1 -b 16 -e signed-integer '" + wav + "' synth 2 sine 300 vol 0.01") ||
        !Run("sox -D -r 44100 -c 2 -n -r 44100 -c 2 -b 16 -e signed-integer '" + music +
             "' synth 10 sine 200 sine 330 vol 0.01") ||
        !Run("oggenc -Q -o '" + ogg + "' '" + music + "'")) {
        return {};
    }
    HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, folder.string().c_str());
    HVI_AddSearchPath("res://");
    return folder;
}

void MixSixtyFourVoices(benchmark::State& state) {
    if (!getenv("HALVO_LIBRARY_PATH")) {
        SetEnvironmentVariableA("HALVO_LIBRARY_PATH", HALVO_MODULE_DIR);
    }
    SetEnvironmentVariableA("HALVO_AUDIO_OUTPUT", "pull");
    const auto folder = MakeSounds();
    HMODULE library = LoadLibraryA("DSOUND.DLL");
    const auto pull = library ? reinterpret_cast<LPHALVODSOUNDPULLFRAMES>(reinterpret_cast<void (*)()>(
                                    GetProcAddress(library, "HalvoDSound_PullFrames")))
                              : nullptr;
    const HV_MixerInterface& mixer = *HVI_GetMixerInterface();
    if (folder.empty() || !pull || !mixer.Init(kRate, 64, reinterpret_cast<HWND>(uintptr_t(1)), 0)) {
        state.SkipWithError("needs sox, oggenc and DSOUND.DLL");
        return;
    }
    HV_MixerSample* voice = mixer.LoadSample("voice.wav", 0);
    HV_MixerSample* music = mixer.LoadSample("music.ogg", 0);
    for (int i = 0; i < 40; ++i) {
        mixer.Play(voice, 0.5f, 0.0f, 1.0f, true);
    }
    for (int i = 0; i < 24; ++i) {
        mixer.Play(music, 0.5f, 0.0f, 1.0f, true);
    }
    std::vector<SHORT> frames(size_t(kBlockFrames) * 2);
    double seconds = 0.0;
    for (auto _ : state) {
        pull(frames.data(), kBlockFrames);
        benchmark::DoNotOptimize(frames.data());
        // The refill step needs the clock to move; the sleep costs no CPU.
        Sleep(1);
        mixer.Update();
        seconds += double(kBlockFrames) / kRate;
    }
    state.counters["audio_s_per_cpu_s"] = benchmark::Counter(seconds, benchmark::Counter::kIsRate);
    mixer.Shutdown();
    mixer.FreeSample(voice);
    mixer.FreeSample(music);
    FreeLibrary(library);
    std::filesystem::remove_all(folder);
}

}  // namespace

BENCHMARK(MixSixtyFourVoices)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
