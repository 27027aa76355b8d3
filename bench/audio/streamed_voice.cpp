#include "streamed_voice.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/decoders/mixer_sample.h"
#include "audio/decoders/ogg_memory_source.h"
#include "audio/mixer/mixer_interface.h"
#include "dsound_voice_driver.h"
#include "filesystem/scheme_roots.h"
#include "voice_sounds.h"

namespace {

bool Run(const std::string& command) { return std::system((command + " > /dev/null 2>&1").c_str()) == 0; }

// "music.ogg" made by sox and oggenc in a fresh folder that becomes "res://".
class MusicFolder {
public:
    MusicFolder() : m_folder(std::filesystem::temp_directory_path() / "halvo-audio-bench")
    {
        std::filesystem::create_directories(m_folder);
        const std::string wav = (m_folder / "music.wav").string();
        m_ogg = (m_folder / "music.ogg").string();
        m_ready = Run("sox -D -r 44100 -c 2 -n -r 44100 -c 2 -b 16 -e signed-integer '" + wav +
                      "' synth 10 sine 200 sine 330 vol 0.5") &&
                  Run("oggenc -Q -o '" + m_ogg + "' '" + wav + "'");
        HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, m_folder.string().c_str());
        HVI_AddSearchPath("res://");
    }
    ~MusicFolder() { std::filesystem::remove_all(m_folder); }
    bool IsReady() const { return m_ready; }
    std::vector<uint8_t> OggBytes() const
    {
        std::ifstream in(m_ogg, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path m_folder;
    std::string m_ogg;
    bool m_ready = false;
};

}  // namespace

void RunStreamedVoice(benchmark::State& state)
{
    MusicFolder folder;
    HMODULE library = LoadDSoundForBench();
    const auto pull = library ? reinterpret_cast<LPHALVODSOUNDPULLFRAMES>(
                                    reinterpret_cast<void (*)()>(GetProcAddress(library, "HalvoDSound_PullFrames")))
                              : nullptr;
    const HV_MixerInterface& mixer = *HVI_GetMixerInterface();
    if (!folder.IsReady() || !pull || !mixer.Init(voice_bench::kRate, 64, reinterpret_cast<HWND>(uintptr_t(1)), 0)) {
        state.SkipWithError("needs sox, oggenc and DSOUND.DLL");
        return;
    }
    HV_MixerSample* music = mixer.LoadSample("music.ogg", 0);
    if (!music || music->kind != HV_MIXER_SAMPLE_OGG_STREAM || mixer.Play(music, 1.0f, 0.0f, 1.0f, true) == 0) {
        state.SkipWithError("the music did not play as a stream");
    } else {
        std::vector<SHORT> frames(size_t(voice_bench::kBlockFrames) * 2);
        for (auto _ : state) {
            pull(frames.data(), voice_bench::kBlockFrames);
            mixer.Update();
            benchmark::DoNotOptimize(frames.data());
        }
    }
    mixer.Shutdown();
    mixer.FreeSample(music);
    FreeLibrary(library);
}

void RunBareDecode(benchmark::State& state)
{
    MusicFolder folder;
    std::vector<uint8_t> file = folder.IsReady() ? folder.OggBytes() : std::vector<uint8_t>();
    HV_OggMemorySource source = {file.data(), int64_t(file.size()), 0};
    OggVorbis_File decoder;
    if (file.empty() || HVI_OpenOggDecoder(&decoder, &source) != 0) {
        state.SkipWithError("needs sox and oggenc");
        return;
    }
    std::vector<char> pcm(size_t(voice_bench::kBlockFrames) * 4);
    for (auto _ : state) {
        for (size_t done = 0; done < pcm.size();) {
            int link = 0;
            const long got = ov_read(&decoder, pcm.data() + done, int(pcm.size() - done), 0, 2, 1, &link);
            if (got <= 0) {
                ov_pcm_seek(&decoder, 0);
                continue;
            }
            done += size_t(got);
        }
        benchmark::DoNotOptimize(pcm.data());
    }
    ov_clear(&decoder);
}
