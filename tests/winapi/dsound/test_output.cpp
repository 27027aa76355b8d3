#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <thread>

#include "support/sox_commands.h"
#include "support/temporary_folder.h"
#include "winapi/dsound/dsound_library.h"

namespace {

std::string SoxInfo(const std::string& path, const char* option)
{
    return CommandOutput("soxi " + std::string(option) + " '" + path + "'");
}

}  // namespace

TEST(DirectSoundOutput, CaptureWritesAWavFileThatSoxReads)
{
    // Declared first so that it goes away after the library has closed its output.
    const TemporaryFolder folder("halvo-dsound-capture");
    DSoundLibrary library;
    const std::string path = (folder.Path() / "capture.wav").string();
    IDirectSound* sound = library.CreateSoundObject(("capture:" + path).c_str());
    ASSERT_NE(sound, nullptr);
    EXPECT_STREQ(library.OutputName(), "capture");
    IDirectSoundBuffer* buffer = library.CreateBuffer(sound, 1, 44100, 8820);
    WriteSamples(buffer, 0, std::vector<SHORT>(4410, 12345));
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    // The output writes in real time into a temporary file beside the capture;
    // it is given what time it needs for 0.15 s of frames on a busy machine.
    const uintmax_t wanted = 44 + 44100 * 15 / 100 * 4 + 4096;  // and a buffer of the C library
    std::error_code ignored;
    for (int i = 0; i < 2000 && std::filesystem::file_size(path + ".tmp", ignored) < wanted; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // Until the sound object is released, only the temporary file exists.
    EXPECT_FALSE(std::filesystem::exists(path));
    sound->Release();
    buffer->Release();
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    EXPECT_EQ(SoxInfo(path, "-r"), "44100\n");
    EXPECT_EQ(SoxInfo(path, "-c"), "2\n");
    EXPECT_EQ(SoxInfo(path, "-b"), "16\n");
    const long samples = std::stol(SoxInfo(path, "-s"));
    EXPECT_GE(samples, 44100 * 15 / 100);
    // Silence until the buffer played, then its constant on both sides to the end.
    const std::string bytes = folder.Read("capture.wav");
    ASSERT_EQ(bytes.size(), 44u + size_t(samples) * 4);
    const auto* frames = reinterpret_cast<const SHORT*>(bytes.data() + 44);
    long first = 0;
    while (first < samples * 2 && frames[first] == 0) {
        ++first;
    }
    ASSERT_LT(first, samples * 2);
    EXPECT_EQ(first % 2, 0);
    for (long i = first; i < samples * 2; ++i) {
        ASSERT_EQ(frames[i], 12345) << "sample " << i;
    }
}

TEST(DirectSoundOutput, SilentOutputPlaysBuffersInRealTime)
{
    DSoundLibrary library;
    IDirectSound* sound = library.CreateSoundObject("silent");
    ASSERT_NE(sound, nullptr);
    EXPECT_STREQ(library.OutputName(), "silent");
    IDirectSoundBuffer* buffer = library.CreateBuffer(sound, 1, 44100, 882);  // 10 ms
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    DWORD status = DSBSTATUS_PLAYING;
    for (int i = 0; i < 2000 && status != 0; ++i) {  // up to 10 s on a busy machine
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
    }
    EXPECT_EQ(status, 0u);
    buffer->Release();
    sound->Release();
}

// The output named by the setting: the first of a list that opens, else silence.
TEST(DirectSoundOutput, OutputsAreTriedInOrderAndFallBackToSilence)
{
    const struct {
        const char* setting;  // null: unset
        std::set<std::string> names;
    } outputs[] = {
        {nullptr, {"sdl", "silent"}},  // the device, or silence where there is none
        {"nonsense,capture:/nonexistent-folder/x.wav,pull,silent", {"pull"}},
        {"capture:/nonexistent-folder/x/capture.wav", {"silent"}},
    };
    for (const auto& output : outputs) {
        SCOPED_TRACE(output.setting ? output.setting : "unset");
        DSoundLibrary library;
        SetEnvironmentVariableA("HALVO_AUDIO_OUTPUT", output.setting);
        IDirectSound* sound = nullptr;
        ASSERT_EQ(library.create(nullptr, &sound, nullptr), DS_OK);
        EXPECT_EQ(output.names.count(library.OutputName()), 1u) << library.OutputName();
        sound->Release();
    }
}
