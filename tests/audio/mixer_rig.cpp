#include "audio/mixer_rig.h"

#include <gtest/gtest.h>

#include <dsound_output.h>

namespace {
// A block well under a quarter of a voice buffer, even at twice the rate.
constexpr DWORD kBlockFrames = 2048;
}  // namespace

HWND TestWindow() { return reinterpret_cast<HWND>(uintptr_t(0x1000)); }

PulledOutput::PulledOutput()
{
    SetEnvironmentVariableA("HALVO_AUDIO_OUTPUT", "pull");
    m_library = LoadLibraryA("DSOUND.DLL");
    EXPECT_NE(m_library, nullptr) << "HALVO_LIBRARY_PATH must name " HALVO_MODULE_DIR;
    if (m_library) {
        m_pull = reinterpret_cast<LPHALVODSOUNDPULLFRAMES>(
            reinterpret_cast<void (*)()>(GetProcAddress(m_library, "HalvoDSound_PullFrames")));
    }
}

PulledOutput::~PulledOutput()
{
    if (m_library) {
        FreeLibrary(m_library);
    }
    SetEnvironmentVariableA("HALVO_AUDIO_OUTPUT", nullptr);
}

std::vector<SHORT> PulledOutput::Pull(DWORD frames)
{
    std::vector<SHORT> out;
    out.reserve(size_t(frames) * 2);
    std::vector<SHORT> block(size_t(kBlockFrames) * 2);
    while (frames > 0 && m_pull) {
        const DWORD count = frames < kBlockFrames ? frames : kBlockFrames;
        EXPECT_EQ(m_pull(block.data(), count), count);
        out.insert(out.end(), block.begin(), block.begin() + size_t(count) * 2);
        frames -= count;
        HVI_GetMixerInterface()->Update();
    }
    return out;
}

MixerRig::MixerRig() { EXPECT_TRUE(mixer().Init(44100, 64, TestWindow(), 0)); }

MixerRig::~MixerRig() { mixer().Shutdown(); }
